#pragma once

#include <memory>
#include <span>
#include <string>

#include "Result.h"

struct evp_md_ctx_st;
struct evp_md_st;

// A message digest of bytes given piece by piece (OpenSSL's libcrypto), as lower-case hex.
class CDigest
{
public:
    // "sha256", "sha1" or "md5"; another name fails.
    static Result Create(const std::string& algorithm, std::unique_ptr<CDigest>& digest);
    ~CDigest();

    void Update(std::span<const unsigned char> piece);
    // The digest of everything given since the last Finish, which starts the next one.
    std::string Finish();

private:
    CDigest(evp_md_ctx_st* pContext, const evp_md_st* pMethod);

    evp_md_ctx_st* m_pContext;
    const evp_md_st* m_pMethod;
};
