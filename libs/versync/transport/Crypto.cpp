#include "libs/versync/transport/Crypto.h"

#include "framework/Handles.h"

#include <windows.h>

#include <bcrypt.h>

#include <cstring>
#include <vector>

namespace {

void CloseProvider(BCRYPT_ALG_HANDLE provider) {
    ::BCryptCloseAlgorithmProvider(provider, 0);
}

using Provider = fw::UniqueHandle<fw::NullHandleTraits<BCRYPT_ALG_HANDLE, &CloseProvider>>;
using Key = fw::UniqueHandle<fw::NullHandleTraits<BCRYPT_KEY_HANDLE, &::BCryptDestroyKey>>;
using Hash = fw::UniqueHandle<fw::NullHandleTraits<BCRYPT_HASH_HANDLE, &::BCryptDestroyHash>>;

bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

Provider OpenProvider(const wchar_t* algorithm) {
    BCRYPT_ALG_HANDLE provider = nullptr;
    if (!Succeeded(::BCryptOpenAlgorithmProvider(&provider, algorithm, nullptr, 0))) {
        return {};
    }
    return Provider(provider);
}

}  // namespace

struct Sha256Hasher::State {
    Provider provider;
    Hash hash;
    bool failed = false;
};

Sha256Hasher::Sha256Hasher() : state_(std::make_unique<State>()) {
    state_->provider = OpenProvider(BCRYPT_SHA256_ALGORITHM);
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!state_->provider ||
        !Succeeded(::BCryptCreateHash(state_->provider.get(), &hash, nullptr, 0, nullptr, 0, 0))) {
        state_->failed = true;
        return;
    }
    state_->hash.reset(hash);
}

Sha256Hasher::~Sha256Hasher() = default;

void Sha256Hasher::Add(const std::uint8_t* data, std::size_t size) {
    if (state_->failed || size == 0) {
        return;
    }
    if (!Succeeded(::BCryptHashData(state_->hash.get(), const_cast<PUCHAR>(data),
                                    static_cast<ULONG>(size), 0))) {
        state_->failed = true;
    }
}

bool Sha256Hasher::Finish(Sha256Digest& digest) {
    if (state_->failed) {
        return false;
    }
    Sha256Digest result{};
    state_->failed = true;  // a hash finishes once
    if (!Succeeded(::BCryptFinishHash(state_->hash.get(), result.data(),
                                      static_cast<ULONG>(result.size()), 0))) {
        return false;
    }
    digest = result;
    return true;
}

std::string DigestHex(const Sha256Digest& digest) {
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : digest) {
        text.push_back(kHex[byte >> 4]);
        text.push_back(kHex[byte & 0xF]);
    }
    return text;
}

bool VerifyP256Signature(const P256PublicKey& key, const std::uint8_t* data, std::size_t size,
                         const P256Signature& signature) {
    Sha256Hasher hasher;
    hasher.Add(data, size);
    Sha256Digest digest;
    if (!hasher.Finish(digest)) {
        return false;
    }
    Provider provider = OpenProvider(BCRYPT_ECDSA_P256_ALGORITHM);
    if (!provider) {
        return false;
    }
    std::vector<std::uint8_t> blob(sizeof(BCRYPT_ECCKEY_BLOB) + key.size());
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, kP256CoordinateBytes};
    std::memcpy(blob.data(), &header, sizeof(header));
    std::memcpy(blob.data() + sizeof(header), key.data(), key.size());
    BCRYPT_KEY_HANDLE imported = nullptr;
    if (!Succeeded(::BCryptImportKeyPair(provider.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &imported,
                                         blob.data(), static_cast<ULONG>(blob.size()), 0))) {
        return false;
    }
    Key publicKey(imported);
    return Succeeded(::BCryptVerifySignature(
        publicKey.get(), nullptr, digest.data(), static_cast<ULONG>(digest.size()),
        const_cast<PUCHAR>(signature.data()), static_cast<ULONG>(signature.size()), 0));
}
