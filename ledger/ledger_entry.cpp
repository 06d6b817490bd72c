#include "ledger/ledger_entry.h"

#include <algorithm>

namespace zelkor {

void LedgerEntry::add(const QString& account, const Decimal& amount, const Decimal& base_amount,
                      const QString& currency, const QString& vendor_no)
{
    auto same = std::find_if(m_lines.begin(), m_lines.end(), [&](const EntryLine& line) {
        return line.account == account && line.currency == currency && line.vendor_no == vendor_no;
    });
    if (same != m_lines.end()) {
        same->amount = (same->amount + amount).round2();
        same->base_amount = (same->base_amount + base_amount).round2();
        return;
    }
    m_lines.push_back(EntryLine{account, currency, vendor_no, amount.round2(), base_amount.round2()});
}

[[nodiscard]] std::expected<void, Error> LedgerEntry::check_size() const
{
    if (size() <= MaximumLines)
        return {};
    return std::unexpected(Error::invalid(
        QStringLiteral("The journal entry needs %1 lines; a journal entry holds at most %2. "
                       "Split the document into smaller ones.")
            .arg(size())
            .arg(MaximumLines)));
}

} // namespace zelkor
