#pragma once

#include <string>

// A JSON text shaped like the ordering service's answers (a result code, then a list of orders
// with customer objects, item lists, Korean texts with escapes, amounts, coordinates, flags and
// nulls), grown to at least the given size in bytes of UTF-8. The same size gives the same text.
std::string serviceAnswer(size_t bytes);
