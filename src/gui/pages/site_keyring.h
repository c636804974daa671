#pragma once

#include "core/publish/site_address.h"

#include <optional>
#include <string>

// Site passwords in the desktop's keyring (the Secret Service, through
// libsecret), each under the protocol, host, port and user it logs in to.
// Only the windows keep passwords there: the command line takes them from
// ~/.netrc, and a desktop session's service is no rule of the program.
// Where no such service runs (a bare X session, the tests) nothing is
// found and nothing can be stored. Every message is Russian, the system's
// own words only after it.
namespace gamarium::gui {

struct KeyringAnswer {
    std::optional<std::string> password; // none stored, or none could be read
    std::string problem;                 // why none could be read; empty when the keyring answered
};

// The stored password of the site.
KeyringAnswer keyringPassword(const publish::SiteAddress& site);

// Stores the site's password, in place of one stored before; throws Error
// saying why when no keyring takes it.
void storeInKeyring(const publish::SiteAddress& site, const std::string& password);

// Removes the site's stored password, if there is one; throws Error saying
// why when the keyring cannot be asked.
void forgetInKeyring(const publish::SiteAddress& site);

} // namespace gamarium::gui
