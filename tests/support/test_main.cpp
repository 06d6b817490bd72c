// The entry point of every test executable: an offscreen Qt application around GoogleTest.
// CTest names the engine of the suite with --engine=sqlite or --engine=pg; a run by hand may
// set ZELKOR_TEST_ENGINE instead. A run without an engine refuses to start, so that a test of
// the PostgreSQL suite can never quietly run on SQLite.
#include "core/db/lock_order.h"
#include "tests/support/test_database.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>

namespace {

bool listing_only(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return true;
    return false;
}

/// Takes --engine=NAME out of the arguments into ZELKOR_TEST_ENGINE.
void take_engine_argument(int& argc, char** argv)
{
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--engine=", 9) == 0)
            qputenv("ZELKOR_TEST_ENGINE", argv[i] + 9);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
}

} // namespace

int main(int argc, char** argv)
{
    // Test discovery does not get the CTest environment, so set the platform here too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    take_engine_argument(argc, argv);
    if (!listing_only(argc, argv) && !zelkor::testing::suite_engine()) {
        std::cerr << "no test engine: run with --engine=sqlite or --engine=pg (or set ZELKOR_TEST_ENGINE)\n";
        return 2;
    }
    ::testing::InitGoogleTest(&argc, argv);
    // Every transaction of every test has its locks recorded; a rank taken out of order fails the
    // test, or is only printed with ZELKOR_LOCK_ORDER=log.
    if (qEnvironmentVariable("ZELKOR_LOCK_ORDER") == QLatin1String("log"))
        zelkor::LockOrderRecorder::set_handler([](const QString& violation) { std::cerr << violation.toStdString() << '\n'; });
    else
        zelkor::LockOrderRecorder::set_handler([](const QString& violation) { ADD_FAILURE() << violation.toStdString(); });
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
