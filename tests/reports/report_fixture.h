#pragma once
// A report window on the fixture company with a few documents of every kind, entered through the
// windows by a clerk's script (report_documents.script).

#include "core/clock.h"
#include "facade/POclass.h"
#include "script/script_runner.h"
#include "script/session.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "tests/support/window_test_support.h"
#include "windows/base/window_model.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <memory>

namespace zelkor::testing {

/// Enters the report company's documents through the windows, as the clerk's script
/// report_documents.script types them, so that they hold what the saves write.
inline void enter_report_documents(Database& db, const QString& folder)
{
    QFile file(QStringLiteral(ZELKOR_REPORT_DOCUMENTS));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << ZELKOR_REPORT_DOCUMENTS;
    ScriptedPrompter prompter;
    POclass facade;
    facade.set_prompter(&prompter);
    script::SessionOptions session;
    session.data_path = folder;
    script::configure_facade(facade, db, session);
    QString said;
    QTextStream out(&said);
    script::ScriptRunner runner(db, facade, prompter, out);
    EXPECT_EQ(runner.run(QString::fromUtf8(file.readAll())), script::Outcome::Passed) << said.toStdString();
    facade.class_terminate();
}

template <class Window>
class ReportTest : public ::testing::Test, protected WindowTestBench {
protected:
    ReportTest()
    {
        enter_report_documents(t.db(), folder.path());
        window = std::make_unique<Window>();
        window->apply_settings(window_settings(t.db(), QStringLiteral("ADMIN"), folder.path()));
        window->set_prompter(&prompter);
        record_notifications(*window, notifications);
        window->open();
    }

    /// The column of every row read so far, in the grid's order.
    QStringList column(const char* caption) const
    {
        QStringList values;
        for (int row = 0; row < window->results().row_count(); ++row)
            values << window->results().cell(row, QString::fromLatin1(caption));
        return values;
    }
    /// Runs the report after setting fields (the window's own writes, no typing checks).
    QStringList find(const std::vector<std::pair<const char*, QString>>& filters, const char* caption = "document no")
    {
        window->clear_filters();
        for (const auto& [name, value] : filters)
            window->set_field(QString::fromLatin1(name), value);
        EXPECT_TRUE(window->run_inquiry()) << prompter.last().toStdString();
        return column(caption);
    }
    QStringList total_row(const QString& currency) const
    {
        for (const QStringList& row : window->totals().rows())
            if (row.value(0) == currency)
                return row;
        return {};
    }

    std::unique_ptr<Window> window;
};

} // namespace zelkor::testing
