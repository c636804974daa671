#pragma once

#include "gui/app/windows.h"
#include "gui/widgets/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <random>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace gamarium::gui::testing {

// A temporary program folder with the program's windows on it.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = std::filesystem::temp_directory_path() / ("gamarium-gui-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(home_);
        windows_ = std::make_unique<Windows>(home_);
        MessageBox::clearShownTexts();
    }
    void TearDown() override {
        windows_.reset();
        std::filesystem::remove_all(home_);
    }

    // Clicks a button as the user does, so that an error in its handler
    // takes the program's own way to a message box.
    static void click(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Gives `control` the keyboard focus as the user does, activating its
    // window; keys sent to it then go on to its parents as the user's do.
    static void focus(QWidget* control) {
        control->window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(control->window()));
        control->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), control) << control->objectName().toStdString();
    }

    // Runs `step` once the next modal window is up.
    static void whenModal(std::function<void()> step) {
        QTimer::singleShot(0, [step = std::move(step)] {
            QApplication::processEvents();
            step();
        });
    }

    std::filesystem::path home_;
    std::unique_ptr<Windows> windows_;
};

} // namespace gamarium::gui::testing
