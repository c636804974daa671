#pragma once

#include "files/files.h"

#include <array>
#include <memory>

class QWidget;

namespace gamarium::gui {

class TForm1;
class TFopen;
class TForm2;
class TForm3;
class TForm4;
class TPasswordDlg;
class TPasswordDlg1;

// The seven windows of the program, created once at start-up in this order
// and living until it ends; windows reach each other through here.
class Windows {
public:
    explicit Windows(files::Path home);
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    const files::Path& home() const { return home_; }

    TForm1* form1() const { return form1_.get(); }
    TFopen* fopen() const { return fopen_.get(); }
    TForm2* form2() const { return form2_.get(); }
    TForm3* form3() const { return form3_.get(); }
    TForm4* form4() const { return form4_.get(); }
    TPasswordDlg* passwordDlg() const { return passwordDlg_.get(); }
    TPasswordDlg1* passwordDlg1() const { return passwordDlg1_.get(); }
    // All seven, in the order of creation.
    std::array<QWidget*, 7> all() const;

private:
    files::Path home_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TFopen> fopen_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm4> form4_;
    std::unique_ptr<TPasswordDlg> passwordDlg_;
    std::unique_ptr<TPasswordDlg1> passwordDlg1_;
};

} // namespace gamarium::gui
