// Writing a long list report: 10,000 rows of 12 columns on the default page format.
#include "windows/print/pdf_list_writer.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace zelkor;

PrintList transaction_list(int rows)
{
    PrintList list;
    list.title = QStringLiteral("P/O TRANSACTIONS REPORT");
    list.print_date = QStringLiteral("Mar 05, 2026");
    list.transaction_date = QStringLiteral("Jan 01, 2026");
    list.until_date = QStringLiteral("Dec 31, 2026");
    list.columns = {{"document no", 100}, {"date", 80}, {"vendor no", 70}, {"vendor name", 180},
                    {"item code", 80}, {"description", 180}, {"currency", 50},
                    {"quantity", 70, Qt::AlignRight, "#,##0.00"}, {"unit cost", 70, Qt::AlignRight, "#,##0.00"},
                    {"extended cost", 90, Qt::AlignRight, "#,##0.00"}, {"tax code", 50, Qt::AlignHCenter},
                    {"account", 60}};
    list.rows.reserve(size_t(rows));
    for (int row = 0; row < rows; ++row)
        list.rows.push_back({{QStringLiteral("PO-26-%1").arg(row / 5 + 1, 5, 10, QLatin1Char('0')),
                              QStringLiteral("Mar 05, 2026"), QStringLiteral("V%1").arg(100 + row % 4 * 100),
                              row % 9 ? QStringLiteral("Acme Industrial Supply") : QStringLiteral("Europa Komponenten GmbH, Zweigniederlassung Süd"),
                              QStringLiteral("WIDGET"), QStringLiteral("Widget, fine finish, box of 12"), QStringLiteral("USD"),
                              QString::number(row % 50 + 1), QStringLiteral("12.5"),
                              QString::number((row % 50 + 1) * 12.5, 'f', 2), QStringLiteral("ST"), QStringLiteral("1300")}});
    return list;
}

void write_long_list(benchmark::State& state)
{
    const PrintList list = transaction_list(int(state.range(0)));
    const ReportFormat format; // landscape letter, 10.5 pt on 14 pt rows
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("PO_transaction_L.pdf"));
    for (auto _ : state) {
        if (auto written = write_list_pdf(list, format, path); !written) {
            state.SkipWithError(written.error().message.toStdString().c_str());
            return;
        }
    }
    state.counters["file_kB"] = double(QFileInfo(path).size()) / 1024;
    state.counters["rows"] = double(list.rows.size());
}
BENCHMARK(write_long_list)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
