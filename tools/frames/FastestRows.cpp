#include "frames/FastestRows.h"

#include "cpu/ProcessorFeatures.h"
#include "frames/ChromaColumns.h"
#include "frames/ChromaRows.h"
#include "frames/Yc48Rows.h"

namespace quorlin_resizer {

namespace {

struct RowForms {
  decltype(&ToYc48RowSse2) toYc48;
  decltype(&ToYc48RowFromFractionsSse2) toYc48FromFractions;
  decltype(&FromYc48RowSse2) fromYc48;
  decltype(&FilterRowSse2) chromaRow;
  decltype(&FilterColumnsSse2<int16_t>) fractionColumns;
  decltype(&FilterColumnsSse2<uint8_t>) byteColumns;
};

RowForms FormsFor(bool avx2) {
  if (avx2)
    return {&ToYc48RowAvx2,          &ToYc48RowFromFractionsAvx2,  &FromYc48RowAvx2,
            &FilterRowAvx2,          &FilterColumnsAvx2<int16_t>, &FilterColumnsAvx2<uint8_t>};
  return {&ToYc48RowSse2,          &ToYc48RowFromFractionsSse2,  &FromYc48RowSse2,
          &FilterRowSse2,          &FilterColumnsSse2<int16_t>, &FilterColumnsSse2<uint8_t>};
}

const RowForms &Fastest() {
  static const RowForms forms = FormsFor(RunsAvx2(ThisProcessor()));
  return forms;
}

}  // namespace

void ToYc48Row(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int width,
               bool pairedChroma, PIXEL_YC *out) {
  Fastest().toYc48(luma, u, v, width, pairedChroma, out);
}

void ToYc48RowFromFractions(const uint8_t *luma, const int16_t *u, const int16_t *v, int width,
                            PIXEL_YC *out) {
  Fastest().toYc48FromFractions(luma, u, v, width, out);
}

void FromYc48Row(const PIXEL_YC *pixels, int width, uint8_t *luma, uint8_t *u, uint8_t *v) {
  Fastest().fromYc48(pixels, width, luma, u, v);
}

void FilterRow(const ChromaFilter &filter, const uint8_t *in, int16_t *out) {
  Fastest().chromaRow(filter, in, out);
}

template <>
void FilterColumns(const int16_t *const *rows, const int16_t *weights, int taps, int width,
                   int16_t *out) {
  Fastest().fractionColumns(rows, weights, taps, width, out);
}

template <>
void FilterColumns(const int16_t *const *rows, const int16_t *weights, int taps, int width,
                   uint8_t *out) {
  Fastest().byteColumns(rows, weights, taps, width, out);
}

}  // namespace quorlin_resizer
