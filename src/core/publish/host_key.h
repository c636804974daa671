#pragma once

#include "core/files/files.h"

#include <string>
#include <string_view>

// An SSH server's host key as the user checks it and known_hosts keeps it.
namespace gamarium::publish {

struct HostKey {
    std::string type;         // "ssh-ed25519", "ecdsa-sha2-nistp256", "ssh-rsa", ...
    std::string base64;       // the key blob, as known_hosts writes it
    std::string fingerprint;  // "SHA256:..." as ssh shows it
};

// The key from its blob (the raw bytes the server sent).
HostKey hostKeyFromBlob(std::string_view blob);

// How known_hosts names a host: "host", or "[host]:port" for another port than 22.
std::string knownHostsName(const std::string& host, long port);

// Adds the key's line at the end of a known_hosts file (made, with its
// folder, when missing); the lines already there are left as they are.
void trustHostKey(const files::Path& knownHosts, const std::string& host, long port, const HostKey& key);

} // namespace gamarium::publish
