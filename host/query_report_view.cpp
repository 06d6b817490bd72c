#include "host/query_report_view.h"

#include "core/db/database.h"
#include "windows/print/active_report.h"

#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace zelkor::host {

namespace {

QStandardItemModel* model_of_rows(const Rows& rows, QObject* parent)
{
    auto* model = new QStandardItemModel(parent);
    if (rows.empty())
        return model;
    const Row& first = rows.front();
    QStringList headers;
    for (int column = 0; column < first.size(); ++column)
        headers << first.column_name(column);
    model->setHorizontalHeaderLabels(headers);
    for (const Row& row : rows) {
        QList<QStandardItem*> items;
        for (int column = 0; column < row.size(); ++column) {
            auto* item = new QStandardItem(Row::to_text(row.value(column)));
            item->setEditable(false);
            items << item;
        }
        model->appendRow(items);
    }
    return model;
}

} // namespace

QString report_title(const QString& arg2)
{
    const QStringList parts = arg2.split(QLatin1Char(','), Qt::SkipEmptyParts);
    return parts.isEmpty() ? QStringLiteral("Report") : parts.join(QLatin1Char(' ')).simplified();
}

bool is_single_select(const QString& query)
{
    QString text = query.trimmed();
    if (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    return text.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) && !text.contains(QLatin1Char(';'));
}

QWidget* make_query_report_view(Database& db, const QString& query, const QString& argument, const QString& title,
                                QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    auto* heading = new QLabel(title, page);
    QFont font = heading->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    heading->setFont(font);
    layout->addWidget(heading);

    auto rows = run_active_report(db, query, argument);
    if (!rows) {
        auto* note = new QLabel(QStringLiteral("The report could not be read: %1").arg(rows.error().message), page);
        note->setWordWrap(true);
        layout->addWidget(note);
        layout->addStretch();
        return page;
    }
    auto* table = new QTableView(page);
    table->setModel(model_of_rows(*rows, table));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    layout->addWidget(table);
    layout->addWidget(new QLabel(QStringLiteral("%1 rows").arg(rows->size()), page));
    page->resize(900, 500);
    return page;
}

} // namespace zelkor::host
