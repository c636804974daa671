#pragma once

#include "app/windows.h"
#include "widgets/message_box.h"

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
