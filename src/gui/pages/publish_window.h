#pragma once

#include "core/files/files.h"

#include <QDialog>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>

namespace Ui {
class PublishWindow;
}

namespace gamarium::publish {
struct HostKeyQuestion;
}

namespace gamarium::gui {

// Publishing an output folder to the site: its address and remote folder
// (remembered per base and folder), the progress and the lines of the run
// in the status memo, a cancel that stops after the files being sent. The
// network work runs on a thread of its own; the window stays usable.
class PublishWindow : public QDialog {
    Q_OBJECT

public:
    // `home`: the program folder, where the record of sent files is kept.
    PublishWindow(const files::Path& home, QWidget* parent);
    ~PublishWindow() override;

    // Shows the window modally for `folder` of base `base` (UTF-8).
    void run(const std::string& base, const files::Path& folder);

    void ButtonPublishClick();
    void ButtonCancelClick();
    void ButtonForgetClick();
    // Whether a run is going on (tests wait for its end).
    bool publishing() const { return worker_.joinable(); }

    void reject() override;

signals:
    // From the publishing thread to the window's.
    void lineSent(const QString& line);
    void progressMade(int done, int total);
    void runEnded(const QString& closing, const QString& error, bool loginRefused, bool passwordSent);
    void passwordFound(const QString& site, const QString& password);

private:
    std::string typedUrl() const;
    // `keepPassword`: the password typed for the site goes to the keyring too.
    void start(bool keepPassword);
    void showEnd(const QString& closing, const QString& error, bool loginRefused, bool passwordSent);
    // Asked from the publishing thread; the answers come from the window's.
    bool trustHostKey(const publish::HostKeyQuestion& question);
    bool removeMany(std::size_t count);
    // Runs `ask` on the window's thread and waits for its answer.
    bool askFromWorker(const std::function<bool()>& ask);
    void joinWorker();

    std::unique_ptr<Ui::PublishWindow> ui_;
    files::Path home_;
    std::string base_;
    files::Path folder_;
    // Passwords typed or found in the keyring, by site, for this program
    // run; the sites already looked up in the keyring.
    std::map<std::string, std::string> passwords_;
    std::set<std::string> lookedUp_;
    // Sites whose typed password goes to the keyring once the server took it.
    std::set<std::string> keepAfterLogin_;
    std::string runSite_;  // the site of the run going on
    QString runLogin_;     // its user and server, as the password dialog names them
    std::thread worker_;
    std::atomic<bool> cancel_{false};
};

} // namespace gamarium::gui
