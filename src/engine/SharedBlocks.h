// Stores identical coefficient blocks once per table.
#pragma once

#include <cstdint>
#include <vector>

// Returns the first block of `registered` that equals `block`, or appends `block` to the list
// and returns it. A block starts at its PairCount word, followed by its pairs of
// `wordsPerPair` 32-bit words (1 for two 16-bit coefficients, 2 for four). Blocks compare word
// by word, PairCount first, never reading past a registered block's own pairs.
const int32_t *FindSharedBlock(std::vector<const int32_t *> &registered, const int32_t *block,
                               int32_t wordsPerPair);
