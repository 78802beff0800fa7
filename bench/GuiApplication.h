// The offscreen QGuiApplication that drawing benchmarks need, made once.
#pragma once

#include <QGuiApplication>

#include <cstdlib>
#include <memory>

inline void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> application;
    if (!application) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
}
