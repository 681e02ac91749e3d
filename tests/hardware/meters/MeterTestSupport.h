#pragma once
// Helpers of the meter tests.

#include <initializer_list>
#include <string>

// A byte string from byte values.
inline std::string Bytes(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes)
        s.push_back(static_cast<char>(b));
    return s;
}
