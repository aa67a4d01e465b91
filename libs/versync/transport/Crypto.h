// SHA-256 and ECDSA P-256 verification with the platform's cryptography (CNG).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

inline constexpr std::size_t kP256CoordinateBytes = 32;
// A public key as X then Y, big-endian; a signature as r then s, big-endian.
using P256PublicKey = std::array<std::uint8_t, 2 * kP256CoordinateBytes>;
using P256Signature = std::array<std::uint8_t, 2 * kP256CoordinateBytes>;
using Sha256Digest = std::array<std::uint8_t, 32>;

// An incremental SHA-256. A hasher whose provider could not be opened (or that failed once)
// stays failed: Finish then gives false.
class Sha256Hasher {
  public:
    Sha256Hasher();
    ~Sha256Hasher();
    Sha256Hasher(const Sha256Hasher&) = delete;
    Sha256Hasher& operator=(const Sha256Hasher&) = delete;

    void Add(const std::uint8_t* data, std::size_t size);
    bool Finish(Sha256Digest& digest);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// The digest as 64 lower-case hexadecimal digits.
std::string DigestHex(const Sha256Digest& digest);

// True only when signature is a valid ECDSA P-256 signature of SHA-256(data) under key.
bool VerifyP256Signature(const P256PublicKey& key, const std::uint8_t* data, std::size_t size,
                         const P256Signature& signature);
