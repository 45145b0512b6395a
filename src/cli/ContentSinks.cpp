#include "ContentSinks.h"

#include "CDigest.h"

CEntryReader::Sink StreamSink(std::ostream& out)
{
    return [&out](std::span<const unsigned char> piece)
    {
        out.write(reinterpret_cast<const char*>(piece.data()),
                  static_cast<std::streamsize>(piece.size()));
        return out ? Result::Ok() : Result::Fail("standard output could not be written");
    };
}

CEntryReader::Sink DigestSink(CDigest& digest, std::int64_t& nSize)
{
    return [&digest, &nSize](std::span<const unsigned char> piece)
    {
        digest.Update(piece);
        nSize += static_cast<std::int64_t>(piece.size());
        return Result::Ok();
    };
}
