#pragma once

#include "core/publish/site_address.h"

#include <optional>
#include <string>

// Site passwords in the desktop's keyring (the Secret Service, through
// libsecret), each under the protocol, host, port and user it logs in to.
// Only the windows keep passwords there: the command line takes them from
// ~/.netrc, and a desktop session's service is no rule of the program.
// Where no such service runs (a bare X session, the tests) nothing is
// found and nothing can be stored.
namespace gamarium::gui {

// The stored password of the site; nothing when none is stored or no
// keyring answers.
std::optional<std::string> keyringPassword(const publish::SiteAddress& site);

// Stores the site's password, in place of one stored before; throws Error
// saying why when no keyring takes it.
void storeInKeyring(const publish::SiteAddress& site, const std::string& password);

} // namespace gamarium::gui
