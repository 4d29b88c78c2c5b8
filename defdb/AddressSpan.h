#pragma once

// The memory area a model's definition rows cover: first address and the
// address just behind the last row's bytes.
struct TAddressSpan {
    bool found = false;
    int first = 0;
    int end = 0;
};
