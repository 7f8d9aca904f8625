#pragma once

#include "designed_names.h"

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

namespace venturon::testing {

// A control of a window or dialog, found at any depth by its designed name (its
// objectName, designed_names.h). A missing control fails the test.
template <typename T = QWidget> T* child(const QWidget& window, const char* name) {
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << "no control " << name << " in "
                                << window.objectName().toStdString();
    return control;
}
template <typename T = QWidget> T* child(const QWidget* window, const char* name) {
    return child<T>(*window, name);
}

} // namespace venturon::testing
