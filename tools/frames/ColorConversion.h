// Conversion between 8-bit Y4M frames and the editor's frame formats, on ranges of rows or on
// whole frames.
//
// YC48 takes the editor's studio-range scaling (Yc48Scaling.h), by the fastest rows this
// processor runs (FastestRows.h: SSE2 or AVX2, equal to the plain reference rows). The rows
// below repeat subsampled chroma to each pixel it covers; FrameConversion.h interpolates it
// instead (ChromaResampler, ToYc48RowFromFractions).
//
// YUY2 keeps the 8-bit values as they are, packed Y0 U Y1 V per pixel pair. 4:4:4 chroma is
// averaged over each pair (rounded), 4:2:0 chroma repeated on both rows (a stream's frames are
// first interpolated to every row, FrameConversion.h); YUY2 results are
// written as 4:2:2. A YUY2 row holds whole pixel pairs, so YUY2 frames have even widths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "frames/Yc48Scaling.h"
#include "hostsdk/AviUtlPlugin.h"
#include "video-io/Y4mFormat.h"

namespace quorlin_resizer {

// Rows firstRow..endRow-1 of `frame` into `pixels`, whose rows are `strideBytes` apart.
void Y4mToYc48Rows(const Y4mFrame &frame, uint8_t *pixels, ptrdiff_t strideBytes, int firstRow,
                   int endRow);
// Rows firstRow..endRow-1 of `pixels` (rows `strideBytes` apart) into `frame`, which is already
// sized as 4:4:4.
void Yc48ToY4mRows(const uint8_t *pixels, ptrdiff_t strideBytes, Y4mFrame &frame, int firstRow,
                   int endRow);
// Throws std::invalid_argument for an odd width: a YUY2 row holds whole pixel pairs.
void RequireEvenWidth(int width);
// As above for YUY2; `frame` of Yuy2ToY4mRows is already sized as 4:2:2. Widths must be even.
void Y4mToYuy2Rows(const Y4mFrame &frame, uint8_t *packed, ptrdiff_t strideBytes, int firstRow,
                   int endRow);
void Yuy2ToY4mRows(const uint8_t *packed, ptrdiff_t strideBytes, Y4mFrame &frame, int firstRow,
                   int endRow);

// Whole frames. Frame rows packed: width pixels per row.
void Y4mToYc48(const Y4mFrame &frame, std::vector<PIXEL_YC> &pixels);
// `pixels` rows are `strideBytes` apart; writes a 4:4:4 frame.
void Yc48ToY4m(const uint8_t *pixels, int width, int height, ptrdiff_t strideBytes,
               Y4mFrame &frame);

// Rows packed: 2 x width bytes per row. Both throw std::invalid_argument for an odd width.
void Y4mToYuy2(const Y4mFrame &frame, std::vector<uint8_t> &packed);
// `packed` rows are `strideBytes` apart; writes a 4:2:2 frame.
void Yuy2ToY4m(const uint8_t *packed, int width, int height, ptrdiff_t strideBytes,
               Y4mFrame &frame);

}  // namespace quorlin_resizer
