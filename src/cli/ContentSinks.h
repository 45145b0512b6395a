#pragma once

#include <cstdint>
#include <ostream>

#include "CEntryReader.h"

class CDigest;

// Where the commands send content as it is read: written to a stream, which fails once
// the stream cannot be written; or into a digest, counting the bytes.
CEntryReader::Sink StreamSink(std::ostream& out);
CEntryReader::Sink DigestSink(CDigest& digest, std::int64_t& nSize);
