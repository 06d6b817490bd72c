#pragma once
// Documents of the fixture's item mix for the benchmarks, built as typed documents and saved by
// the module's own routines.

#include "bench/support/bench_database.h"
#include "documents/order/po_document.h"
#include "documents/receipt/receipt_save.h"

namespace zelkor::bench {

/// The stamp every benchmark document is saved with.
extern const AuditStamp Stamp;

/// An order of `count` lines of the fixture's item mix, two of each line's unit at 10.00 with the
/// state tax, dated 1 March of `year`, not saved yet.
Order order_of(Database& db, int count, int year = 2026);
/// The order of order_of, saved by the order's routine.
DocumentNumber saved_order(Database& db, int count);
/// A receipt of every line of the order, whole, on a day of its own in `year` so that the layers
/// of a long run never fill a day's lot ids.
Receipt receipt_of(Database& db, const DocumentNumber& order, int count, long long serial, int year = 2026);
/// What the receipt's save needs besides the receipt: the accounts and the order lines as read.
ReceiptSaving saving_of(Database& db, const Receipt& receipt);

} // namespace zelkor::bench
