// The 4 x 4 transpose of 32-bit lanes that every SIMD group transpose ends with, within each
// 128-bit block of an instruction set's vectors (`Ops`): four rows, each reordered so that lane
// k of a block holds its k-th sample pair, become four vectors, the k-th holding lane k of every
// row (row i in lane i of the block).
#pragma once

namespace kernels::simd {

template <class Ops>
inline void TransposeLanes(typename Ops::Vec (&rows)[4]) {
  using Vec = typename Ops::Vec;
  const Vec lanes01of01 = Ops::InterleaveLow32(rows[0], rows[1]);
  const Vec lanes23of01 = Ops::InterleaveHigh32(rows[0], rows[1]);
  const Vec lanes01of23 = Ops::InterleaveLow32(rows[2], rows[3]);
  const Vec lanes23of23 = Ops::InterleaveHigh32(rows[2], rows[3]);
  rows[0] = Ops::InterleaveLow64(lanes01of01, lanes01of23);
  rows[1] = Ops::InterleaveHigh64(lanes01of01, lanes01of23);
  rows[2] = Ops::InterleaveLow64(lanes23of01, lanes23of23);
  rows[3] = Ops::InterleaveHigh64(lanes23of01, lanes23of23);
}

}  // namespace kernels::simd
