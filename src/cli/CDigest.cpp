#include "CDigest.h"

#include <openssl/evp.h>

Result CDigest::Create(const std::string& algorithm, std::unique_ptr<CDigest>& digest)
{
    const EVP_MD* pMethod = algorithm == "sha256" ? EVP_sha256()
                            : algorithm == "sha1" ? EVP_sha1()
                            : algorithm == "md5"  ? EVP_md5()
                                                  : nullptr;
    if (!pMethod)
        return Result::Fail("unknown digest '" + algorithm + "' (sha256, sha1 or md5)");
    EVP_MD_CTX* pContext = EVP_MD_CTX_new();
    if (!pContext || EVP_DigestInit_ex(pContext, pMethod, nullptr) != 1)
    {
        EVP_MD_CTX_free(pContext);
        return Result::Fail("the " + algorithm + " digest is not available");
    }
    digest.reset(new CDigest(pContext, pMethod));
    return Result::Ok();
}

CDigest::CDigest(evp_md_ctx_st* pContext, const evp_md_st* pMethod)
    : m_pContext(pContext), m_pMethod(pMethod)
{
}

CDigest::~CDigest()
{
    EVP_MD_CTX_free(m_pContext);
}

void CDigest::Update(std::span<const unsigned char> piece)
{
    EVP_DigestUpdate(m_pContext, piece.data(), piece.size());
}

std::string CDigest::Finish()
{
    unsigned char value[EVP_MAX_MD_SIZE];
    unsigned int nLength = 0;
    EVP_DigestFinal_ex(m_pContext, value, &nLength);
    EVP_DigestInit_ex(m_pContext, m_pMethod, nullptr);
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < nLength; ++i)
    {
        text += hex[value[i] >> 4];
        text += hex[value[i] & 15];
    }
    return text;
}
