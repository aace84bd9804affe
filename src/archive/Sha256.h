#pragma once

#include <QByteArray>
#include <memory>

// SHA-256 of bytes given in pieces. OpenSSL's where the build has it (several times faster than
// Qt's, which is most of an archive's cost otherwise), Qt's elsewhere; both give the same hash.
class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void addData(QByteArrayView bytes);
    // The 32 bytes of the hash of everything added.
    QByteArray result() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};
