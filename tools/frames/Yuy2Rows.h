// One row of YUY2 pixel pairs (Y0 U Y1 V) packed from, and unpacked into, planar 8-bit rows
// whose chroma has one sample per pair. The plain loops are the reference; the others do the
// same with SSE2, sixteen pixels at a time, and finish the row with the plain loop.
#pragma once

#include <cstdint>

namespace quorlin_resizer {

void PackYuy2Row(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int pairs,
                 uint8_t *packed);
void PackYuy2RowPlain(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int pairs,
                      uint8_t *packed);

void UnpackYuy2Row(const uint8_t *packed, int pairs, uint8_t *luma, uint8_t *u, uint8_t *v);
void UnpackYuy2RowPlain(const uint8_t *packed, int pairs, uint8_t *luma, uint8_t *u,
                        uint8_t *v);

}  // namespace quorlin_resizer
