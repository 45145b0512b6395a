#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "Result.h"

// The content of one file going into an archive, read once from its start.
class IPackInput
{
public:
    virtual ~IPackInput() = default;
    // Fills buffer; fewer bytes only at the end of the content. A content that turns out
    // shorter or longer than the size it was planned with is an error, never a torn entry.
    virtual Result Read(std::span<unsigned char> buffer, std::size_t& nRead) = 0;
    // Where the content lies whole and as it is stored, in an open file from nOffset, so
    // that the kernel can copy it; fd stays -1 when it has to be read. Instead of Read.
    virtual Result OpenRange(int& fd, std::int64_t& nOffset)
    {
        fd = -1;
        nOffset = 0;
        return Result::Ok();
    }
};

// One directory entry of an archive to be written, in the order it is written.
struct PackItem
{
    enum class Kind
    {
        Directory, // opens a directory
        Parent,    // ".." closes it
        File,
    };
    Kind kind = Kind::File;
    std::string strName; // Windows-1252, as it is stored
    std::int32_t tTime = 0;
    std::int64_t nSize = 0; // the content's size
    bool bCompress = false; // stored in the LZ41 layout, unless that is not smaller
    std::string strLabel;   // names the file in messages
    std::function<std::unique_ptr<IPackInput>()> openInput;

    bool IsFile() const { return kind == Kind::File; }
};
