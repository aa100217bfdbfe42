#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Headless, and never near the operator's own settings file, saved messages or history.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config, state;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("XDG_STATE_HOME", state.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", config.path().toUtf8());

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
