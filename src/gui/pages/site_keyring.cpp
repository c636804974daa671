#include "gui/pages/site_keyring.h"

#include "core/error.h"

#include <libsecret/secret.h>

namespace gamarium::gui {
namespace {

const SecretSchema* schema() {
    static const SecretSchema site = {"org.gamarium.SitePassword",
                                      SECRET_SCHEMA_NONE,
                                      {{"protocol", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {"host", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {"port", SECRET_SCHEMA_ATTRIBUTE_INTEGER},
                                       {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                      0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    return &site;
}

const char* protocolName(publish::Protocol protocol) {
    switch (protocol) {
    case publish::Protocol::Sftp:
        return "sftp";
    case publish::Protocol::Ftps:
        return "ftps";
    case publish::Protocol::Ftp:
        return "ftp";
    }
    return "";
}

// Why the keyring did not answer, in the user's language.
std::string problemOf(GError* error) {
    std::string why;
    if (!error)
        why = "служба связки ключей не ответила";
    else if (error->domain == SECRET_ERROR && error->code == SECRET_ERROR_IS_LOCKED)
        why = "связка ключей заперта, и её не отперли";
    else if (error->domain == G_DBUS_ERROR &&
             (error->code == G_DBUS_ERROR_SERVICE_UNKNOWN || error->code == G_DBUS_ERROR_NAME_HAS_NO_OWNER))
        why = "служба связки ключей не запущена (GNOME Keyring, KWallet или KeePassXC)";
    else if (error->domain == G_IO_ERROR && error->code == G_IO_ERROR_CANCELLED)
        why = "связку ключей не отперли";
    else
        why = "служба связки ключей отказала";
    if (error) {
        why += std::string(" (") + error->message + ")";
        g_error_free(error);
    }
    return why;
}

std::string labelOf(const publish::SiteAddress& site) {
    return "Gamarium: " + std::string(protocolName(site.protocol)) + "://" + (site.user.empty() ? "" : site.user + "@") +
           site.host + ":" + std::to_string(site.port);
}

} // namespace

KeyringAnswer keyringPassword(const publish::SiteAddress& site) {
    GError* error = nullptr;
    gchar* found = secret_password_lookup_sync(schema(), nullptr, &error, "protocol", protocolName(site.protocol),
                                               "host", site.host.c_str(), "port", static_cast<int>(site.port),
                                               "user", site.user.c_str(), nullptr);
    if (error) return {std::nullopt, problemOf(error)};
    if (!found) return {};
    std::string password(found);
    secret_password_free(found);
    return {password, {}};
}

void storeInKeyring(const publish::SiteAddress& site, const std::string& password) {
    GError* error = nullptr;
    const gboolean stored = secret_password_store_sync(
        schema(), SECRET_COLLECTION_DEFAULT, labelOf(site).c_str(), password.c_str(), nullptr, &error, "protocol",
        protocolName(site.protocol), "host", site.host.c_str(), "port", static_cast<int>(site.port), "user",
        site.user.c_str(), nullptr);
    if (stored) return;
    throw Error("Пароль не сохранён в связке ключей: " + problemOf(error) + ". Он будет помниться до выхода из программы.");
}

void forgetInKeyring(const publish::SiteAddress& site) {
    GError* error = nullptr;
    secret_password_clear_sync(schema(), nullptr, &error, "protocol", protocolName(site.protocol), "host",
                               site.host.c_str(), "port", static_cast<int>(site.port), "user", site.user.c_str(),
                               nullptr);
    if (error) throw Error("Пароль не забыт: " + problemOf(error) + ".");
}

} // namespace gamarium::gui
