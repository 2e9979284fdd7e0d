#include <immintrin.h>

#include <cstdint>
#include <type_traits>

#include "frames/Yc48Rows.h"

namespace quorlin_resizer {

namespace {

// The same fixed-point scaling as the SSE2 row, sixteen pixels at a time.
constexpr int kShift = 10;

// Sixteen 16-bit values v as (v x factor + term) >> Shift, packed back to 16 bits with
// saturation; factorAndTerm is the pair (factor, term) as one 32-bit value.
template <int Shift>
__m256i MultiplyAddShift(__m256i values, int32_t factorAndTerm) {
  const __m256i ones = _mm256_set1_epi16(1);
  const __m256i scale = _mm256_set1_epi32(factorAndTerm);
  const __m256i low = _mm256_madd_epi16(_mm256_unpacklo_epi16(values, ones), scale);
  const __m256i high = _mm256_madd_epi16(_mm256_unpackhi_epi16(values, ones), scale);
  return _mm256_packs_epi32(_mm256_srai_epi32(low, Shift), _mm256_srai_epi32(high, Shift));
}

__m256i Scale(__m128i bytes, int16_t offset, int32_t factorAndTerm) {
  const __m256i values =
      _mm256_sub_epi16(_mm256_cvtepu8_epi16(bytes), _mm256_set1_epi16(offset));
  return MultiplyAddShift<kShift>(values, factorAndTerm);
}

constexpr int32_t kLumaScale = (512 << 16) | 19152;
constexpr int32_t kChromaScale = (508 << 16) | 18724;

// The chroma bytes of sixteen pixels starting at pixel x, one per pixel.
__m128i ChromaBytes(const uint8_t *plane, int x, bool paired) {
  if (!paired) return _mm_loadu_si128(reinterpret_cast<const __m128i *>(plane + x));
  const __m128i eight = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(plane + x / 2));
  return _mm_unpacklo_epi8(eight, eight);  // each sample for both pixels of its pair
}

// Three registers A, B, C shuffled into three results: result r ors the bytes of A, B and C
// that masks[r][0..2] name (-128: none). Both 128-bit lanes shuffle alike. YC48 holds eight
// pixels' samples Y Cb Cr Y Cb Cr ... in three 16-byte thirds, so the same kind of table
// interleaves (registers of one kind of sample into thirds) and deinterleaves (thirds into
// kinds).
class ShuffleTable {
 public:
  // sourceByte(result, source, byte): the byte of the source's lane that goes to `byte` of
  // the result's lane, or -1.
  template <class SourceByte>
  explicit ShuffleTable(const SourceByte &sourceByte) {
    for (int result = 0; result < 3; ++result)
      for (int source = 0; source < 3; ++source)
        for (int byte = 0; byte < 32; ++byte) {
          const int from = sourceByte(result, source, byte % 16);
          masks_[result][source][byte] = static_cast<int8_t>(from < 0 ? -128 : from);
        }
  }
  __m256i Result(int result, __m256i a, __m256i b, __m256i c) const {
    return _mm256_or_si256(_mm256_or_si256(Shuffle(result, 0, a), Shuffle(result, 1, b)),
                           Shuffle(result, 2, c));
  }

 private:
  __m256i Shuffle(int result, int source, __m256i bytes) const {
    return _mm256_shuffle_epi8(
        bytes, _mm256_load_si256(reinterpret_cast<const __m256i *>(masks_[result][source])));
  }
  alignas(32) int8_t masks_[3][3][32];
};

// Kinds (Y, Cb, Cr) into thirds: sample i of the 24 sits in third i / 8 and is kind i % 3
// of pixel i / 3.
const ShuffleTable kInterleave([](int third, int kind, int byte) {
  const int sample = third * 8 + byte / 2;
  return sample % 3 == kind ? sample / 3 * 2 + byte % 2 : -1;
});

// Thirds into kinds.
const ShuffleTable kDeinterleave([](int kind, int third, int byte) {
  const int sample = byte / 2 * 3 + kind;
  return sample / 8 == third ? sample % 8 * 2 + byte % 2 : -1;
});

// Sixteen bytes from each of two places, in the low and the high lanes.
__m256i LoadLanes(const uint8_t *low, const uint8_t *high) {
  return _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i *>(low))),
      _mm_loadu_si128(reinterpret_cast<const __m128i *>(high)), 1);
}

// YC48 samples scaled to bytes before clamping, as in the SSE2 row.
__m256i ScaleToBytes(__m256i samples, int16_t factor, int16_t offset) {
  return _mm256_adds_epi16(MultiplyAddShift<12>(samples, (2048 << 16) | factor),
                           _mm256_set1_epi16(offset));
}

// Two kinds of sixteen samples each, clamped to bytes, as sixteen bytes of the first kind in
// the low half and sixteen of the second in the high half.
__m256i PackTwoKinds(__m256i first, __m256i second) {
  // packus interleaves eight-byte groups of the lanes: first 0-7, second 0-7, first 8-15, ...
  return _mm256_permute4x64_epi64(_mm256_packus_epi16(first, second), _MM_SHUFFLE(3, 1, 2, 0));
}

// Sixteen chroma samples with kChromaFractionBits as the SSE2 row scales them: the
// multiply-add of (c - 8192, 1) with (18724, 508 x 64), shifted by 16.
__m256i FractionChroma(const int16_t *plane, int x) {
  const __m256i values =
      _mm256_sub_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(plane + x)),
                       _mm256_set1_epi16(128 << 6));
  return MultiplyAddShift<16>(values, ((508 << 6) << 16) | 18724);
}

// A 32-byte store into the host's image: plain, or (kBypass) past the caches.
template <bool kBypass>
void StoreImageBytes(__m256i *at, __m256i bytes) {
  if constexpr (kBypass)
    _mm256_stream_si256(at, bytes);
  else
    _mm256_storeu_si256(at, bytes);
}

// Sixteen pixels from their samples, pixels 0-7 in the low lanes and 8-15 in the high lanes.
template <bool kBypass>
void StoreSixteen(__m256i y, __m256i cb, __m256i cr, PIXEL_YC *out) {
  const __m256i first = kInterleave.Result(0, y, cb, cr);
  const __m256i second = kInterleave.Result(1, y, cb, cr);
  const __m256i third = kInterleave.Result(2, y, cb, cr);
  // The low lanes hold the first eight pixels' 48 bytes, the high lanes the next eight's.
  __m256i *pixels = reinterpret_cast<__m256i *>(out);
  StoreImageBytes<kBypass>(pixels, _mm256_permute2x128_si256(first, second, 0x20));
  StoreImageBytes<kBypass>(pixels + 1, _mm256_blend_epi32(third, first, 0xF0));
  StoreImageBytes<kBypass>(pixels + 2, _mm256_permute2x128_si256(second, third, 0x31));
}

// body(std::integral_constant<bool, kBypass>()) for a row of pixels from `out` on. A 1080p
// image is 12 MB, more than the caches hold, and the plug-in reads it only after the frame
// before, so where the row starts on 32 bytes (every row of an image of the usual widths) its
// stores bypass the caches: they then write the image without first reading each of its lines
// in. The fence makes them visible before anything that tells another thread the row is done.
template <class Body>
void WithImageStores(const PIXEL_YC *out, const Body &body) {
  if (reinterpret_cast<uintptr_t>(out) % sizeof(__m256i) != 0) {
    body(std::false_type());
    return;
  }
  body(std::true_type());
  _mm_sfence();
}

}  // namespace

void ToYc48RowFromFractionsAvx2(const uint8_t *luma, const int16_t *u, const int16_t *v,
                                int width, PIXEL_YC *out) {
  int x = 0;
  WithImageStores(out, [&](auto bypass) {
    for (; x + 16 <= width; x += 16)
      StoreSixteen<bypass>(
          Scale(_mm_loadu_si128(reinterpret_cast<const __m128i *>(luma + x)), 16, kLumaScale),
          FractionChroma(u, x), FractionChroma(v, x), out + x);
  });
  ToYc48RowFromFractionsSse2(luma + x, u + x, v + x, width - x, out + x);
}

void ToYc48RowAvx2(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int width,
                   bool pairedChroma, PIXEL_YC *out) {
  int x = 0;
  WithImageStores(out, [&](auto bypass) {
    for (; x + 16 <= width; x += 16) {
      // Pixels 0-7 in the low lanes, 8-15 in the high lanes.
      const __m256i y =
          Scale(_mm_loadu_si128(reinterpret_cast<const __m128i *>(luma + x)), 16, kLumaScale);
      const __m256i cb = Scale(ChromaBytes(u, x, pairedChroma), 128, kChromaScale);
      const __m256i cr = Scale(ChromaBytes(v, x, pairedChroma), 128, kChromaScale);
      StoreSixteen<bypass>(y, cb, cr, out + x);
    }
  });
  const int chromaFirst = pairedChroma ? x / 2 : x;
  ToYc48RowSse2(luma + x, u + chromaFirst, v + chromaFirst, width - x, pairedChroma, out + x);
}

void FromYc48RowAvx2(const PIXEL_YC *pixels, int width, uint8_t *luma, uint8_t *u,
                     uint8_t *v) {
  int x = 0;
  for (; x + 16 <= width; x += 16) {
    // Pixels 0-7 in the low lanes, 8-15 in the high lanes, each in thirds of 16 bytes.
    const uint8_t *bytes = reinterpret_cast<const uint8_t *>(pixels + x);
    const __m256i first = LoadLanes(bytes, bytes + 48);
    const __m256i second = LoadLanes(bytes + 16, bytes + 64);
    const __m256i third = LoadLanes(bytes + 32, bytes + 80);
    const __m256i y = ScaleToBytes(kDeinterleave.Result(0, first, second, third), 219, 16);
    const __m256i cb = ScaleToBytes(kDeinterleave.Result(1, first, second, third), 224, 128);
    const __m256i cr = ScaleToBytes(kDeinterleave.Result(2, first, second, third), 224, 128);
    const __m256i lumaBlue = PackTwoKinds(y, cb);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(luma + x), _mm256_castsi256_si128(lumaBlue));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(u + x), _mm256_extracti128_si256(lumaBlue, 1));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(v + x),
                     _mm256_castsi256_si128(PackTwoKinds(cr, cr)));
  }
  FromYc48RowSse2(pixels + x, width - x, luma + x, u + x, v + x);
}

}  // namespace quorlin_resizer
