#pragma once

#include <cstdint>
#include <string>

enum class RegValueType
{
    String, // REG_SZ: strData holds the bytes without the terminating zero
    Dword,  // REG_DWORD: nDword
    Other   // any other type found in the file: strData holds its text after "=" verbatim
};

struct RegValue
{
    std::string strName; // empty for the key's default value ("@")
    RegValueType nType = RegValueType::String;
    std::string strData;
    uint32_t nDword = 0;
};
