#pragma once

#include "core/files/files.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <string>

namespace Ui {
class TFopen;
}

namespace gamarium::gui {

// The picture chooser: lists the pictures of a folder by a file pattern,
// previews the entry clicked, and gives the name chosen.
class TFopen : public QDialog {
    Q_OBJECT

public:
    TFopen();
    ~TFopen() override;

    // Shows the chooser modally over the files of `folder` that match
    // `mask` (Windows-1251). The bare file name chosen by OK or a
    // double-click; nothing after Cancel, Esc, the close box or OK on an
    // empty list.
    std::optional<text::StoredText> choose(const files::Path& folder, const std::string& mask);

    // Runs once per opening, before the window shows.
    void FormShow();
    void scanfolder();
    void ListBox1Click();
    void Button2Click();
    void Button3Click();

private:
    std::unique_ptr<Ui::TFopen> ui_;
    files::Path picfolder_;
    std::string picmask_;
    std::optional<text::StoredText> picchoice_;
};

} // namespace gamarium::gui
