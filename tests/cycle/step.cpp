#include "step.h"

#include <stdexcept>

namespace zelkor::cycle {

int Dice::between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_engine); }

bool Dice::chance(double probability) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine) < probability; }

QString Dice::quantity(int decimals, int low, int high)
{
    const int whole = between(low, high);
    if (decimals <= 0 || chance(0.6))
        return QString::number(whole);
    return QString::number(whole) + u'.' + QString::number(between(1, 9));
}

QString Dice::unit_cost()
{
    switch (between(0, 3)) {
    case 0: return QString::number(between(1, 99)) + QStringLiteral(".") + QString::number(between(10, 99));
    case 1: return QStringLiteral("0.") + QString::number(between(10, 95));
    case 2: return QString::number(between(100, 1500));
    default: return QString::number(between(1, 40)) + QStringLiteral(".5");
    }
}

std::optional<Row> StepContext::pick_row(const QString& sql, const Params& params)
{
    auto rows = db.select(sql, params);
    if (!rows)
        throw std::runtime_error("choosing a document: " + rows.error().detail.toStdString());
    if (rows->empty())
        return std::nullopt;
    return (*rows)[size_t(dice.between(0, int(rows->size()) - 1))];
}

std::vector<VendorCode> StepContext::vendors(const QString& currency) const
{
    std::vector<VendorCode> found;
    for (const VendorCode& vendor : catalogue.vendors)
        if (currency.isEmpty() || vendor.currency == currency)
            found.push_back(vendor);
    return found;
}

std::vector<ItemCode> StepContext::items(const QStringList& types) const
{
    std::vector<ItemCode> found;
    for (const ItemCode& item : catalogue.items)
        if (types.contains(item.type))
            found.push_back(item);
    return found;
}

bool show_document(WindowModel& window, const QString& docno)
{
    window.type_into(QStringLiteral("docno"), docno);
    return window.field(QStringLiteral("docno")) == docno && !static_cast<DocumentWindow&>(window).document_key().isEmpty();
}

bool start_new(StepContext& context, WindowModel& window, const QString& vendor, QString& why)
{
    context.clerk.settle(window);
    if (!window.execute(CommandId::New)) {
        why = QStringLiteral("new mode refused: ") + context.clerk.prompter().last();
        return false;
    }
    if (window.type_into(QStringLiteral("vendor_no"), vendor) != Entry::Accepted) {
        why = QStringLiteral("vendor refused: ") + context.clerk.prompter().last();
        return false;
    }
    return true;
}

std::optional<QString> show_chosen(StepContext& context, WindowModel& window, const QString& sql, const Params& params)
{
    const auto chosen = context.pick_row(sql, params);
    if (!chosen)
        return std::nullopt;
    context.clerk.settle(window);
    const QString docno = Row::to_text(chosen->value(0));
    return show_document(window, docno) ? std::optional(docno) : std::nullopt;
}

bool type_line(StepContext& context, Grid& grid, int row, const ItemCode& item, const QString& quantity_caption)
{
    Dice& dice = context.dice;
    if (item.type == u"5" && grid.type_cell(row, QStringLiteral("item type"), item.type) != Entry::Accepted)
        return false;
    if (grid.type_cell(row, QStringLiteral("item code"), item.code) != Entry::Accepted)
        return false;
    if (item.type == u"5" && grid.type_cell(row, QStringLiteral("account"), QStringLiteral("6000")) != Entry::Accepted)
        return false;
    if (item.units.size() > 1 && dice.chance(0.25)
        && grid.type_cell(row, QStringLiteral("uom"), dice.pick(item.units)) != Entry::Accepted)
        return false;
    if (grid.type_cell(row, QStringLiteral("unit cost"), dice.unit_cost()) != Entry::Accepted)
        return false;
    const int decimals = item.type == u"1" || item.type == u"2" ? item.quantity_decimals : 2;
    if (grid.type_cell(row, quantity_caption, dice.quantity(decimals)) != Entry::Accepted)
        return false;
    if (dice.chance(0.1) && !context.catalogue.tax_codes.isEmpty()
        && grid.type_cell(row, QStringLiteral("tax code"), dice.pick(context.catalogue.tax_codes)) != Entry::Accepted)
        return false;
    return true;
}

std::vector<CycleStep> cycle_steps()
{
    std::vector<CycleStep> steps;
    for (std::vector<CycleStep> window_steps : {requisition_steps(), order_steps(), receipt_steps(), bill_steps(), landed_steps(),
                                                    inquiry_steps()})
        for (CycleStep& step : window_steps)
            steps.push_back(std::move(step));
    return steps;
}

} // namespace zelkor::cycle
