#include "core/publish/host_key.h"

#include "core/error.h"

#include <openssl/evp.h>

#include <fstream>
#include <system_error>

namespace gamarium::publish {
namespace {

std::string base64Of(const unsigned char* bytes, std::size_t count) {
    std::string text(4 * ((count + 2) / 3), '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes, static_cast<int>(count));
    text.resize(static_cast<std::size_t>(written));
    return text;
}

// The first string of an SSH key blob: the key's type.
std::string typeOf(std::string_view blob) {
    if (blob.size() < 4) return "unknown";
    const auto byte = [&](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(blob[i])); };
    const std::size_t length = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    if (length > blob.size() - 4) return "unknown";
    return std::string(blob.substr(4, length));
}

} // namespace

HostKey hostKeyFromBlob(std::string_view blob) {
    HostKey key;
    key.type = typeOf(blob);
    const auto* bytes = reinterpret_cast<const unsigned char*>(blob.data());
    key.base64 = base64Of(bytes, blob.size());
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestSize = 0;
    EVP_Digest(bytes, blob.size(), digest, &digestSize, EVP_sha256(), nullptr);
    std::string fingerprint = base64Of(digest, digestSize);
    while (!fingerprint.empty() && fingerprint.back() == '=') fingerprint.pop_back();
    key.fingerprint = "SHA256:" + fingerprint;
    return key;
}

std::string knownHostsName(const std::string& host, long port) {
    return port == 22 ? host : "[" + host + "]:" + std::to_string(port);
}

void trustHostKey(const files::Path& knownHosts, const std::string& host, long port, const HostKey& key) {
    std::error_code ec;
    if (std::filesystem::create_directories(knownHosts.parent_path(), ec))
        std::filesystem::permissions(knownHosts.parent_path(), std::filesystem::perms::owner_all, ec);
    bool endsLine = true;
    if (std::ifstream in(knownHosts, std::ios::binary); in && in.seekg(-1, std::ios::end)) endsLine = in.get() == '\n';
    std::ofstream out(knownHosts, std::ios::binary | std::ios::app);
    if (!endsLine) out << '\n';
    out << knownHostsName(host, port) << ' ' << key.type << ' ' << key.base64 << '\n';
    out.flush();
    if (!out) throw Error("Не удаётся дописать ключ сервера в «" + knownHosts.string() + "».");
}

} // namespace gamarium::publish
