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

} // namespace

std::optional<std::string> keyringPassword(const publish::SiteAddress& site) {
    GError* error = nullptr;
    gchar* found = secret_password_lookup_sync(schema(), nullptr, &error, "protocol", protocolName(site.protocol),
                                               "host", site.host.c_str(), "port", static_cast<int>(site.port),
                                               "user", site.user.c_str(), nullptr);
    if (error) g_error_free(error);
    if (!found) return std::nullopt;
    std::string password(found);
    secret_password_free(found);
    return password;
}

void storeInKeyring(const publish::SiteAddress& site, const std::string& password) {
    const std::string label = "Gamarium: " + std::string(protocolName(site.protocol)) + "://" +
                              (site.user.empty() ? "" : site.user + "@") + site.host + ":" + std::to_string(site.port);
    GError* error = nullptr;
    const gboolean stored = secret_password_store_sync(
        schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(), nullptr, &error, "protocol",
        protocolName(site.protocol), "host", site.host.c_str(), "port", static_cast<int>(site.port), "user",
        site.user.c_str(), nullptr);
    if (stored) return;
    const std::string reason = error ? error->message : "служба связки ключей не ответила";
    if (error) g_error_free(error);
    throw Error("Пароль не сохранён в связке ключей: " + reason +
                ". Нужна служба связки ключей рабочего стола (GNOME Keyring, KWallet, KeePassXC); "
                "пароль будет помниться до выхода из программы.");
}

} // namespace gamarium::gui
