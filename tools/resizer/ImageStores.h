// Rows written into the host's images past the caches. A 1080p YC48 image is 12 MB, more than
// the caches hold, and the plug-in reads it only after the frame before, so where a row starts
// on a vector boundary (every row of an image of the usual widths) the row conversions store it
// with streaming stores: they then write the image without first reading each of its lines in.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace quorlin_host {

// body(std::integral_constant<bool, kBypass>()) for a row of the image from `row` on, whose
// vector stores are `alignment` bytes: kBypass where the row starts on such a boundary. The
// fence afterwards makes the streaming stores visible before anything that tells another
// thread the row is done.
template <class Body>
void WithImageStores(const void *row, size_t alignment, const Body &body) {
  if (reinterpret_cast<uintptr_t>(row) % alignment != 0) {
    body(std::false_type());
    return;
  }
  body(std::true_type());
  _mm_sfence();
}

}  // namespace quorlin_host
