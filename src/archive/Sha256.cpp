#include "archive/Sha256.h"

#ifdef SWEEP_OPENSSL_SHA256
#include <openssl/evp.h>

struct Sha256::State
{
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    ~State() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256() : m_state(std::make_unique<State>())
{
    EVP_DigestInit_ex(m_state->context, EVP_sha256(), nullptr);
}

void Sha256::addData(QByteArrayView bytes)
{
    EVP_DigestUpdate(m_state->context, bytes.data(), size_t(bytes.size()));
}

QByteArray Sha256::result() const
{
    // A copy is finished, so more may still be added to this one.
    EVP_MD_CTX* copy = EVP_MD_CTX_new();
    EVP_MD_CTX_copy_ex(copy, m_state->context);
    QByteArray hash(EVP_MAX_MD_SIZE, '\0');
    unsigned int length = 0;
    EVP_DigestFinal_ex(copy, reinterpret_cast<unsigned char*>(hash.data()), &length);
    EVP_MD_CTX_free(copy);
    hash.resize(length);
    return hash;
}

#else
#include <QCryptographicHash>

struct Sha256::State
{
    QCryptographicHash hash{QCryptographicHash::Sha256};
};

Sha256::Sha256() : m_state(std::make_unique<State>()) {}

void Sha256::addData(QByteArrayView bytes)
{
    m_state->hash.addData(bytes);
}

QByteArray Sha256::result() const
{
    return m_state->hash.result();
}
#endif

Sha256::~Sha256() = default;
