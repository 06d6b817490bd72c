-- Demo company: enough master data to run the whole purchasing cycle, from requisition to
-- bill and landed cost, in the base currency and in two foreign currencies.
--
-- Years are written as @PREV_YEAR@, @YEAR@ and @NEXT_YEAR@; the loader puts in the current
-- calendar year and its neighbours, so the demo never runs out of fiscal periods.
-- Amounts in the balance tables are signed to each account's normal side.

-- ===== Company, currencies and fiscal years =====

INSERT INTO Company_table (company_no, company_name, address, phone, fax, email, base_currency) VALUES
(1, 'Zelkor Demo Trading Co.', '100 Harbour Road, Springfield, IL 62701, USA', '217-555-0100', '217-555-0101', 'office@zelkor-demo.example', 'USD');

INSERT INTO Working_currency_table (currency, description) VALUES
('USD', 'US dollar'),
('EUR', 'Euro'),
('CAD', 'Canadian dollar');

INSERT INTO Exchange_rate_table (currency, rate_date, rate) VALUES
('EUR', '@PREV_YEAR@-12-01', 1.0950),
('EUR', '@YEAR@-01-02', 1.1000),
('EUR', '@YEAR@-04-01', 1.0850),
('EUR', '@YEAR@-07-01', 1.1200),
('EUR', '@YEAR@-10-01', 1.1050),
('EUR', '@NEXT_YEAR@-01-02', 1.1100),
('CAD', '@PREV_YEAR@-12-01', 0.7400),
('CAD', '@YEAR@-01-02', 0.7350),
('CAD', '@YEAR@-04-01', 0.7300),
('CAD', '@YEAR@-07-01', 0.7450),
('CAD', '@YEAR@-10-01', 0.7380),
('CAD', '@NEXT_YEAR@-01-02', 0.7400);

-- Calendar fiscal years of twelve monthly periods.
INSERT INTO Fiscalyear_table (fyear, StartDate, EndDate, history) VALUES
('@PREV_YEAR@', '@PREV_YEAR@-01-01', '@PREV_YEAR@-12-31', FALSE),
('@YEAR@', '@YEAR@-01-01', '@YEAR@-12-31', FALSE),
('@NEXT_YEAR@', '@NEXT_YEAR@-01-01', '@NEXT_YEAR@-12-31', FALSE);

-- Posting is open for the current year; the previous year stays open for late entries.
INSERT INTO COA_config_table (company, base_currency, activate_working_period,
    working_start_fyear, working_start_period, working_end_fyear, working_end_period,
    allow_history_update, allow_start_fyear, allow_start_period, allow_end_fyear, allow_end_period) VALUES
(1, 'USD', TRUE, '@YEAR@', 1, '@YEAR@', 12, TRUE, '@PREV_YEAR@', 1, '@PREV_YEAR@', 12);

-- ===== Document numbering: PO-26-00001 and the like =====

INSERT INTO Next_number_config_table (company, structure, fyear_digit, seperator1, seperator2) VALUES
(1, '1', 2, TRUE, TRUE);

INSERT INTO Next_number_format_table (doctype, prefix, running_no_digit) VALUES
('pr', 'PR', 5),
('po', 'PO', 5),
('ro', 'RO', 5),
('vi', 'VI', 5),
('ld', 'LD', 5),
('gl', 'GL', 5),
('ir', 'IR', 5),
('ij', 'IJ', 5),
('pp', 'PP', 5),
('ip', 'IP', 5);

INSERT INTO Next_number_fkey_table (company, doctype, fkeyno)
SELECT 1, doctype, 1 FROM Next_number_format_table;

-- One counter per document type and fiscal year, as the ledger makes them when it adds a year.
INSERT INTO Docno_master_table (company, doctype, fiscalyear, nextdocno)
SELECT 1, n.doctype, f.fyear, 1 FROM Next_number_format_table n CROSS JOIN Fiscalyear_table f;

-- ===== Chart of accounts =====

INSERT INTO Account_class_table (class_name, parent, class_type, description) VALUES
('Cash', 'CURRENT ASSETS', 'ASSETS', 'Cash on hand'),
('Bank', 'CURRENT ASSETS', 'ASSETS', 'Bank accounts'),
('Accounts Receivable', 'CURRENT ASSETS', 'ASSETS', 'Customer balances'),
('Tax Recoverable', 'CURRENT ASSETS', 'ASSETS', 'Sales taxes to be recovered'),
('Prepaid Expenses', 'CURRENT ASSETS', 'ASSETS', 'Prepayments to vendors'),
('Inventory', 'INVENTORY', 'ASSETS', 'Stock'),
('Fixed Assets', 'FIXED ASSETS', 'ASSETS', 'Equipment'),
('Accum Amor Depreciation', 'FIXED ASSETS', 'ASSETS', 'Accumulated amortization'),
('Accounts Payable', 'CURRENT LIABILITIES', 'LIABILITIES', 'Vendor balances'),
('Accrued Liabilities', 'CURRENT LIABILITIES', 'LIABILITIES', 'Clearing and card accounts'),
('Taxes Payable', 'CURRENT LIABILITIES', 'LIABILITIES', 'Sales taxes collected'),
('Equity', 'EQUITY', 'EQUITY', 'Owner''s equity'),
('Revenue', 'REVENUE', 'REVENUE', 'Sales'),
('Other Income', 'REVENUE', 'REVENUE', 'Discounts and exchange gains'),
('Cost of Goods sold', 'EXPENSE', 'EXPENSE', 'Cost of sales and variances'),
('Operating Expenses', 'EXPENSE', 'EXPENSE', 'Running costs');

-- parent and class_type repeat those of the account's class.
INSERT INTO Account_master_table (accno, accname, type, accclass, parent, class_type, acctype, debit, inactive, acccode) VALUES
('1000', 'Cash on hand', 'A', 'Cash', 'CURRENT ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1000'),
('1010', 'Petty cash', 'A', 'Cash', 'CURRENT ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1010'),
('1050', 'Bank - operating USD', 'A', 'Bank', 'CURRENT ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1050'),
('1060', 'Bank - EUR account', 'A', 'Bank', 'CURRENT ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1060'),
('1200', 'Accounts receivable', 'A', 'Accounts Receivable', 'CURRENT ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1200'),
('1300', 'Inventory - merchandise', 'A', 'Inventory', 'INVENTORY', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1300'),
('1310', 'Inventory - components', 'A', 'Inventory', 'INVENTORY', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1310'),
('1400', 'Sales tax recoverable', 'A', 'Tax Recoverable', 'CURRENT ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1400'),
('1410', 'GST and VAT recoverable', 'A', 'Tax Recoverable', 'CURRENT ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1410'),
('1450', 'Vendor prepayments', 'A', 'Prepaid Expenses', 'CURRENT ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1450'),
('1500', 'Office equipment', 'A', 'Fixed Assets', 'FIXED ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1500'),
('1510', 'Accumulated amortization - equipment', 'A', 'Accum Amor Depreciation', 'FIXED ASSETS', 'ASSETS', 'Balance Sheet', FALSE, FALSE, '1510'),
('2000', 'Accounts payable - trade', 'A', 'Accounts Payable', 'CURRENT LIABILITIES', 'LIABILITIES', 'Balance Sheet', FALSE, FALSE, '2000'),
('2010', 'Accounts payable - EUR vendors', 'A', 'Accounts Payable', 'CURRENT LIABILITIES', 'LIABILITIES', 'Balance Sheet', FALSE, FALSE, '2010'),
('2020', 'Accounts payable - CAD vendors', 'A', 'Accounts Payable', 'CURRENT LIABILITIES', 'LIABILITIES', 'Balance Sheet', FALSE, FALSE, '2020'),
('2050', 'AP suspense - goods received not billed', 'A', 'Accrued Liabilities', 'CURRENT LIABILITIES', 'LIABILITIES', 'Balance Sheet', FALSE, FALSE, '2050'),
('2100', 'Visa card payable', 'A', 'Accrued Liabilities', 'CURRENT LIABILITIES', 'LIABILITIES', 'Balance Sheet', FALSE, FALSE, '2100'),
('2110', 'MasterCard payable', 'A', 'Accrued Liabilities', 'CURRENT LIABILITIES', 'LIABILITIES', 'Balance Sheet', FALSE, FALSE, '2110'),
('2200', 'Sales tax payable', 'A', 'Taxes Payable', 'CURRENT LIABILITIES', 'LIABILITIES', 'Balance Sheet', FALSE, FALSE, '2200'),
('3000', 'Owner''s capital', 'A', 'Equity', 'EQUITY', 'EQUITY', 'Balance Sheet', FALSE, FALSE, '3000'),
('3100', 'Retained earnings', 'A', 'Equity', 'EQUITY', 'EQUITY', 'Balance Sheet', FALSE, FALSE, '3100'),
('3900', 'Current earnings', 'X', 'Equity', 'EQUITY', 'EQUITY', 'Balance Sheet', FALSE, FALSE, '3900'),
('4000', 'Sales', 'A', 'Revenue', 'REVENUE', 'REVENUE', 'Income Statement', FALSE, FALSE, '4000'),
('4100', 'Purchase discounts', 'A', 'Other Income', 'REVENUE', 'REVENUE', 'Income Statement', FALSE, FALSE, '4100'),
('4200', 'Realized exchange gain', 'A', 'Other Income', 'REVENUE', 'REVENUE', 'Income Statement', FALSE, FALSE, '4200'),
('5000', 'Cost of goods sold', 'A', 'Cost of Goods sold', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '5000'),
('5100', 'Purchase price variance', 'A', 'Cost of Goods sold', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '5100'),
('5200', 'Freight and duty', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '5200'),
('6000', 'Office supplies', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6000'),
('6100', 'Repairs and services', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6100'),
('6200', 'Non-recoverable tax', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6200'),
('6300', 'Realized exchange loss', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6300'),
('6400', 'Insurance', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6400'),
('6500', 'Shared facility costs', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6500'),
('6510', 'Facility costs - store', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6510'),
('6520', 'Facility costs - warehouse', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6520'),
('6900', 'Old expense account (closed)', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, TRUE, '6900');

-- Postings to the shared facility account are spread over the store and the warehouse.
INSERT INTO Allocation_Account_table (allocate_accno, accno, Percent) VALUES
('6500', '6510', 60),
('6500', '6520', 40);

INSERT INTO Account_Parameters_table (module, parameter_name, "default", accno, description) VALUES
('AP', 'AP suspense account', TRUE, '2050', 'Goods received, not yet billed'),
('PO', 'purchase discount account', TRUE, '4100', 'Early-payment discounts taken'),
('PO', 'purchase variance account', TRUE, '5100', 'Standard cost and price differences'),
('GL', 'GL realized gain account', TRUE, '4200', 'Rounding gains of foreign-currency entries'),
('GL', 'GL realized loss account', TRUE, '6300', 'Rounding losses of foreign-currency entries');

-- Foreign currencies carried by accounts: the vendor payables of the EUR and CAD vendors and
-- the EUR bank account. Other accounts get their currency rows at their first posting.
INSERT INTO Account_currency_table (accno, currency, Description, revalue) VALUES
('2010', 'EUR', ' ', FALSE),
('2020', 'CAD', ' ', FALSE),
('1060', 'EUR', ' ', FALSE);

-- ===== Balances =====

-- Base-currency balance rows of every account, with the opening position: bank, stock at its
-- layer and average values, the advance paid to Northwind, and the owner's capital that funds them.
INSERT INTO Balance_table (company, ledgertype, accno, currency, amount, base_amount, acccode, subacc, subacc2, subacc3, subacc4, subacc5)
SELECT 1, 'A', accno, 'USD',
       CASE accno WHEN '1050' THEN 49850.00 WHEN '1300' THEN 1364.00 WHEN '1310' THEN 376.25 WHEN '1450' THEN 150.00 WHEN '3000' THEN 51740.25 ELSE 0 END,
       CASE accno WHEN '1050' THEN 49850.00 WHEN '1300' THEN 1364.00 WHEN '1310' THEN 376.25 WHEN '1450' THEN 150.00 WHEN '3000' THEN 51740.25 ELSE 0 END,
       acccode, subacc, subacc2, subacc3, subacc4, subacc5
FROM Account_master_table;

INSERT INTO Balance_period_table (company, fyear, ledgertype, accno, currency, acccode, subacc, subacc2, subacc3, subacc4, subacc5, opening_balance, e_opening_balance)
SELECT 1, f.fyear, 'A', a.accno, 'USD', a.acccode, a.subacc, a.subacc2, a.subacc3, a.subacc4, a.subacc5,
       CASE WHEN f.fyear = '@YEAR@' THEN
           CASE a.accno WHEN '1050' THEN 49850.00 WHEN '1300' THEN 1364.00 WHEN '1310' THEN 376.25 WHEN '1450' THEN 150.00 WHEN '3000' THEN 51740.25 ELSE 0 END
       ELSE 0 END,
       CASE WHEN f.fyear = '@YEAR@' THEN
           CASE a.accno WHEN '1050' THEN 49850.00 WHEN '1300' THEN 1364.00 WHEN '1310' THEN 376.25 WHEN '1450' THEN 150.00 WHEN '3000' THEN 51740.25 ELSE 0 END
       ELSE 0 END
FROM Account_master_table a CROSS JOIN Fiscalyear_table f;

-- The opening position is the one journal entry of the previous year's last period, so that
-- every balance follows from journal lines, as the postings that come later keep them.
INSERT INTO GL_header_table (company, fkey, doctype, docno, Description, Source, source_docno, gldate, currency, period,
    fyear, Reverse, void, date_created, time_created, user_created) VALUES
(1, '1gl-0', 'gl', 'OPENING', 'Opening position', 'OPENING', 'OPENING', '@PREV_YEAR@-12-31', 'USD', 12,
    '@PREV_YEAR@', FALSE, FALSE, '@PREV_YEAR@-12-31', '00:00:00', 'ADMIN');

INSERT INTO GL_transaction_table (company, fkey, lineno, doctype, docno, gldate, period, fyear, accno, acccode, amount,
    base_amount, currency, ledgertype, Description, Source, source_docno, void, date_created, time_created, user_created) VALUES
(1, '1gl-0', 1, 'gl', 'OPENING', '@PREV_YEAR@-12-31', 12, '@PREV_YEAR@', '1050', '1050', 50000.00, 50000.00, 'USD', 'A',
    'Opening position', 'OPENING', 'OPENING', FALSE, '@PREV_YEAR@-12-31', '00:00:00', 'ADMIN'),
(1, '1gl-0', 2, 'gl', 'OPENING', '@PREV_YEAR@-12-31', 12, '@PREV_YEAR@', '1300', '1300', 1364.00, 1364.00, 'USD', 'A',
    'Opening position', 'OPENING', 'OPENING', FALSE, '@PREV_YEAR@-12-31', '00:00:00', 'ADMIN'),
(1, '1gl-0', 3, 'gl', 'OPENING', '@PREV_YEAR@-12-31', 12, '@PREV_YEAR@', '1310', '1310', 376.25, 376.25, 'USD', 'A',
    'Opening position', 'OPENING', 'OPENING', FALSE, '@PREV_YEAR@-12-31', '00:00:00', 'ADMIN'),
(1, '1gl-0', 4, 'gl', 'OPENING', '@PREV_YEAR@-12-31', 12, '@PREV_YEAR@', '3000', '3000', 51740.25, 51740.25, 'USD', 'A',
    'Opening position', 'OPENING', 'OPENING', FALSE, '@PREV_YEAR@-12-31', '00:00:00', 'ADMIN');

-- The advance paid to Northwind by check in December (the suite's payments wrote it): held on
-- the prepayment account until a bill of its order uses it.
INSERT INTO GL_header_table (company, fkey, doctype, docno, Description, remark, Source, source_docno, gldate, currency,
    period, fyear, Reverse, void, date_created, time_created, user_created) VALUES
(1, '1gl-adv1', 'gl', 'ADVANCE', 'Advance to Northwind', 'Prepayment ADV-001', 'AP-PAYMENT', 'ADV-001',
    '@PREV_YEAR@-12-15', 'USD', 12, '@PREV_YEAR@', FALSE, FALSE, '@PREV_YEAR@-12-15', '00:00:00', 'ADMIN');

INSERT INTO GL_transaction_table (company, fkey, lineno, doctype, docno, gldate, period, fyear, accno, acccode, amount,
    base_amount, currency, ledgertype, vendor_no, Description, Source, source_docno, void, date_created, time_created,
    user_created) VALUES
(1, '1gl-adv1', 1, 'gl', 'ADVANCE', '@PREV_YEAR@-12-15', 12, '@PREV_YEAR@', '1450', '1450', 150.00, 150.00, 'USD', 'A',
    'V1003', 'Advance to Northwind', 'AP-PAYMENT', 'ADV-001', FALSE, '@PREV_YEAR@-12-15', '00:00:00', 'ADMIN'),
(1, '1gl-adv1', 2, 'gl', 'ADVANCE', '@PREV_YEAR@-12-15', 12, '@PREV_YEAR@', '1050', '1050', -150.00, -150.00, 'USD', 'A',
    'V1003', 'Advance to Northwind', 'AP-PAYMENT', 'ADV-001', FALSE, '@PREV_YEAR@-12-15', '00:00:00', 'ADMIN');

UPDATE Balance_period_table
SET period12 = CASE accno WHEN '1050' THEN 49850.00 WHEN '1300' THEN 1364.00 WHEN '1310' THEN 376.25 WHEN '1450' THEN 150.00
                          ELSE 51740.25 END,
    e_period12 = CASE accno WHEN '1050' THEN 49850.00 WHEN '1300' THEN 1364.00 WHEN '1310' THEN 376.25 WHEN '1450' THEN 150.00
                            ELSE 51740.25 END
WHERE fyear = '@PREV_YEAR@' AND ledgertype = 'A' AND accno IN ('1050', '1300', '1310', '1450', '3000');

-- Foreign-currency rows ("F") and their base-currency equivalents ("E") of the accounts that
-- already carry a foreign currency.
INSERT INTO Balance_table (company, ledgertype, accno, currency, amount, base_amount, acccode, subacc, subacc2, subacc3, subacc4, subacc5)
SELECT 1, 'F', c.accno, c.currency, 0, 0, a.acccode, a.subacc, a.subacc2, a.subacc3, a.subacc4, a.subacc5
FROM Account_currency_table c INNER JOIN Account_master_table a ON a.accno = c.accno;

INSERT INTO Balance_period_table (company, fyear, ledgertype, accno, currency, acccode, subacc, subacc2, subacc3, subacc4, subacc5)
SELECT 1, f.fyear, 'F', c.accno, c.currency, a.acccode, a.subacc, a.subacc2, a.subacc3, a.subacc4, a.subacc5
FROM (Account_currency_table c INNER JOIN Account_master_table a ON a.accno = c.accno) CROSS JOIN Fiscalyear_table f;

INSERT INTO Balance_period_table (company, fyear, ledgertype, accno, currency, acccode, subacc, subacc2, subacc3, subacc4, subacc5)
SELECT 1, f.fyear, 'E', c.accno, c.currency, a.acccode, a.subacc, a.subacc2, a.subacc3, a.subacc4, a.subacc5
FROM (Account_currency_table c INNER JOIN Account_master_table a ON a.accno = c.accno) CROSS JOIN Fiscalyear_table f;

-- ===== Payment terms, employees, banks and cards =====

INSERT INTO Payment_term_table (term_no, term_name, payment_term, duedays, early_days, early_discount) VALUES
('00', 'Due on receipt', 'Due on receipt', 0, 0, 0),
('30', 'Net 30 days', 'Net 30', 30, 0, 0),
('210', '2% 10, net 30', '2/10 net 30', 30, 10, 2),
('60', 'Net 60 days', 'Net 60', 60, 0, 0);

INSERT INTO Employee_table (employee_id, employee_name, department) VALUES
('ADMIN', 'System Administrator', 'Administration'),
('JSMITH', 'John Smith', 'Purchasing'),
('MLEE', 'Mary Lee', 'Warehouse'),
('RPATEL', 'Raj Patel', 'Accounting');

INSERT INTO Bank_master_table (bank_code, bank_name, bank_branch, bank_account_type, account_no, currency) VALUES
('OPER', 'First National Bank', 'Downtown', 'Checking', '1050', 'USD'),
('EURO', 'Euro Commerce Bank', 'Frankfurt', 'Current', '1060', 'EUR');

INSERT INTO Credit_card_master_table (card_name, payable_accno, used) VALUES
('VISA', '2100', TRUE),
('MasterCard', '2110', TRUE),
('AMEX', NULL, FALSE);

INSERT INTO Country_table (country) VALUES
('USA'),
('Canada'),
('Germany'),
('United Kingdom');

-- ===== Tax =====

INSERT INTO Tax_authority_table (tax_authority, description, acc_recoverable, acc_expense, acc_payable) VALUES
('STATE', 'State sales tax', '1400', '6200', '2200'),
('CITY', 'City sales tax', '1400', '6200', '2200'),
('GST', 'Goods and services tax', '1410', '6200', '2200'),
('PST', 'Provincial sales tax', '1400', '6200', '2200'),
('VAT', 'Value added tax', '1410', '6200', '2200');

INSERT INTO Tax_code_table (tax_code, description, transaction_type, "default") VALUES
('ST', 'State tax 6%, recoverable', 'purchase', TRUE),
('GP', 'GST 5% and PST 7.5% on GST-inclusive amount', 'purchase', FALSE),
('VAT50', 'VAT 20%, half recoverable', 'purchase', FALSE),
('CAP', 'City tax 8%, added to item cost', 'purchase', FALSE),
('BOUNDED', 'State tax 6%, at least 1.00 and at most 50.00', 'purchase', FALSE),
('EXEMPT', 'Tax exempt', 'purchase', FALSE),
('SALES', 'State tax on sales', 'sales', FALSE);

-- GST is taxable, so PST is computed on the amount plus GST. PST is neither recoverable nor
-- put into cost: it is expensed.
INSERT INTO Tax_code_details_table (tax_code, item_no, tax_authority, Rate, taxable, min_charged, max_charged, percent_refund, include_itemcost, transaction_type) VALUES
('ST', 1, 'STATE', 6, FALSE, NULL, NULL, 100, FALSE, 'purchase'),
('GP', 1, 'GST', 5, TRUE, NULL, NULL, 100, FALSE, 'purchase'),
('GP', 2, 'PST', 7.5, FALSE, NULL, NULL, 0, FALSE, 'purchase'),
('VAT50', 1, 'VAT', 20, FALSE, NULL, NULL, 50, FALSE, 'purchase'),
('CAP', 1, 'CITY', 8, FALSE, NULL, NULL, 0, TRUE, 'purchase'),
('BOUNDED', 1, 'STATE', 6, FALSE, 1.00, 50.00, 100, FALSE, 'purchase'),
('SALES', 1, 'STATE', 6, FALSE, NULL, NULL, 0, FALSE, 'sales');

-- ===== Warehouses, units and items =====

INSERT INTO Warehouse_master_table (warehouse, description, Address, "default") VALUES
('MAIN', 'Main warehouse', '100 Harbour Road, Springfield, IL 62701, USA', TRUE),
('EAST', 'East depot', '8 Depot Lane, Decatur, IL 62521, USA', FALSE);

INSERT INTO Warehouse_location_master_table (warehouse, location, description, "default") VALUES
('MAIN', 'A-01', 'Aisle A, bay 1', TRUE),
('MAIN', 'A-02', 'Aisle A, bay 2', FALSE),
('MAIN', 'B-01', 'Aisle B, bay 1', FALSE),
('EAST', 'E-01', 'Rack 1', TRUE),
('EAST', 'E-02', 'Rack 2', FALSE);

INSERT INTO UOM_table (uom, description) VALUES
('pcs', 'Pieces'),
('box', 'Box'),
('carton', 'Carton'),
('dozen', 'Dozen'),
('each', 'Each'),
('set', 'Set'),
('can', 'Can'),
('m', 'Metre'),
('roll', 'Roll'),
('kg', 'Kilogram'),
('hour', 'Hour');

-- Item rules, and company-wide rules under itemcode '*'. PAINT-5L's carton rule has a zero
-- quantity_from and so defers to the company-wide carton rule.
INSERT INTO UOM_conversion_table (itemcode, uom_from, uom_to, quantity_from, quantity_to) VALUES
('WIDGET-A', 'box', 'pcs', 1, 12),
('WIDGET-A', 'carton', 'pcs', 1, 144),
('BOLT-M8', 'box', 'pcs', 1, 100),
('PAINT-5L', 'box', 'can', 1, 4),
('PAINT-5L', 'carton', 'box', 0, 0),
('WIRE-CU', 'roll', 'm', 1, 50),
('*', 'carton', 'box', 1, 12),
('*', 'dozen', 'pcs', 1, 12);

INSERT INTO Item_master_table (itemcode, description, long_description, short_name, item_type, kit, active, discontinued,
    quantity_decimals, unitcost_decimals, stock_uom, purchase_uom, cost_method, asset_accno, vari_accno, reorder_quantity, preferred_vendor) VALUES
('WIDGET-A', 'Widget type A', 'Steel widget, zinc plated, type A', 'WID-A', '1', FALSE, TRUE, FALSE, 0, 4, 'pcs', 'box', 'FIFO', '1300', '5100', 240, 'V1001'),
('BOLT-M8', 'Hex bolt M8 x 40', 'Hex bolt M8 x 40 mm, grade 8.8', 'M8', '1', FALSE, TRUE, FALSE, 0, 4, 'pcs', 'box', 'LIFO', '1300', '5100', 1000, 'V2001'),
('PAINT-5L', 'Floor paint 5 l', 'Epoxy floor paint, grey, 5 litre can', 'PAINT', '1', FALSE, TRUE, FALSE, 0, 2, 'can', 'box', 'Standard cost', '1300', '5100', 20, 'V1002'),
('WIRE-CU', 'Copper wire 2.5 mm2', 'Copper installation wire 2.5 mm2, sold by the metre', 'WIRE', '1', FALSE, TRUE, FALSE, 2, 4, 'm', 'roll', 'Moving average', '1310', '5100', 500, 'V1001'),
('KIT-STARTER', 'Starter kit', 'Starter kit: widgets, bolts and paint', 'KIT', '1', TRUE, TRUE, FALSE, 0, 2, 'set', 'set', 'FIFO', '1300', '5100', 0, 'V1001'),
('MANUAL-OPS', 'Operating manual', 'Printed operating manual', NULL, '2', FALSE, TRUE, FALSE, 0, 2, 'each', 'each', NULL, '6000', NULL, 0, 'V1003'),
('WARRANTY-EXT', 'Extended warranty', 'Extended warranty, one year', NULL, '2', FALSE, TRUE, FALSE, 0, 2, 'each', 'each', NULL, '6100', NULL, 0, 'V1001'),
('GADGET-OLD', 'Gadget (discontinued)', 'Gadget of the old range, no longer bought', NULL, '1', FALSE, FALSE, TRUE, 0, 2, 'pcs', 'pcs', 'FIFO', '1300', '5100', 0, NULL);

-- Each item has one default warehouse with its default location.
INSERT INTO Item_warehouse_table (company, itemcode, warehouse, cost_method, standard_cost, last_cost, last_cost_plus,
    minimum_stock, maximum_stock, reorder_quantity, default_warehouse, default_location, allow_negative_stock) VALUES
(1, 'WIDGET-A', 'MAIN', 'FIFO', 0, 2.60, 2.60, 0, 5000, 0, TRUE, 'A-01', FALSE),
(1, 'WIDGET-A', 'EAST', 'FIFO', 0, 0, 0, 0, NULL, 0, FALSE, 'E-01', FALSE),
(1, 'BOLT-M8', 'MAIN', 'LIFO', 0, 0.12, 0.12, 500, NULL, 1000, TRUE, 'A-02', FALSE),
(1, 'PAINT-5L', 'MAIN', 'Standard cost', 18.00, 17.50, 17.50, 10, 200, 20, TRUE, 'B-01', FALSE),
(1, 'WIRE-CU', 'EAST', 'Moving average', 0, 2.50, 2.50, 0, NULL, 0, TRUE, 'E-01', FALSE),
(1, 'KIT-STARTER', 'MAIN', 'FIFO', 0, 0, 0, 0, NULL, 0, TRUE, 'A-01', FALSE),
(1, 'MANUAL-OPS', 'MAIN', NULL, 0, 0, 0, 0, NULL, 0, TRUE, 'A-01', FALSE),
(1, 'WARRANTY-EXT', 'MAIN', NULL, 0, 0, 0, 0, NULL, 0, TRUE, 'A-01', FALSE),
(1, 'GADGET-OLD', 'MAIN', 'FIFO', 0, 5.00, 5.00, 0, NULL, 0, TRUE, 'A-01', FALSE);

-- Opening stock. FIFO and LIFO quantities and values equal the totals of their cost layers;
-- BOLT-M8 is below its minimum stock, so the reorder suggestion proposes it.
INSERT INTO Item_onhand_table (company, itemcode, warehouse, location, quantity, Value, order_quantity, po_quantity, stock_uom, uom) VALUES
(1, 'WIDGET-A', 'MAIN', 'A-01', 240, 612.00, 0, 0, 'pcs', 'pcs'),
(1, 'BOLT-M8', 'MAIN', 'A-02', 300, 32.00, 0, 0, 'pcs', 'pcs'),
(1, 'PAINT-5L', 'MAIN', 'B-01', 40, 720.00, 0, 0, 'can', 'can'),
(1, 'WIRE-CU', 'EAST', 'E-01', 150.5, 376.25, 0, 0, 'm', 'm');

INSERT INTO FIFO_table (company, itemcode, warehouse, cost_method, lot_id, receipt_no, receipt_date, unitcost, quantity, amount, uom, negative_lot, "delete") VALUES
(1, 'WIDGET-A', 'MAIN', 'FIFO', '@PREV_YEAR@111509:30:00', 'OPENING', '@PREV_YEAR@-11-15', 2.50, 120, 300.00, 'pcs', FALSE, FALSE),
(1, 'WIDGET-A', 'MAIN', 'FIFO', '@PREV_YEAR@121014:05:00', 'OPENING', '@PREV_YEAR@-12-10', 2.60, 120, 312.00, 'pcs', FALSE, FALSE),
(1, 'BOLT-M8', 'MAIN', 'LIFO', '@PREV_YEAR@102008:00:00', 'OPENING', '@PREV_YEAR@-10-20', 0.10, 200, 20.00, 'pcs', FALSE, FALSE),
(1, 'BOLT-M8', 'MAIN', 'LIFO', '@PREV_YEAR@120211:15:00', 'OPENING', '@PREV_YEAR@-12-02', 0.12, 100, 12.00, 'pcs', FALSE, FALSE);

INSERT INTO FIFO_history_table (company, itemcode, warehouse, cost_method, lot_id, receipt_no, receipt_date, docno, Date, unitcost, quantity, amount, uom, negative_lot, Source, Reverse, date_created, time_created) VALUES
(1, 'WIDGET-A', 'MAIN', 'FIFO', '@PREV_YEAR@111509:30:00', 'OPENING', '@PREV_YEAR@-11-15', 'OPENING', '@PREV_YEAR@-11-15', 2.50, 120, 300.00, 'pcs', FALSE, 'OPENING', FALSE, '@PREV_YEAR@-11-15', '09:30:00'),
(1, 'WIDGET-A', 'MAIN', 'FIFO', '@PREV_YEAR@121014:05:00', 'OPENING', '@PREV_YEAR@-12-10', 'OPENING', '@PREV_YEAR@-12-10', 2.60, 120, 312.00, 'pcs', FALSE, 'OPENING', FALSE, '@PREV_YEAR@-12-10', '14:05:00'),
(1, 'BOLT-M8', 'MAIN', 'LIFO', '@PREV_YEAR@102008:00:00', 'OPENING', '@PREV_YEAR@-10-20', 'OPENING', '@PREV_YEAR@-10-20', 0.10, 200, 20.00, 'pcs', FALSE, 'OPENING', FALSE, '@PREV_YEAR@-10-20', '08:00:00'),
(1, 'BOLT-M8', 'MAIN', 'LIFO', '@PREV_YEAR@120211:15:00', 'OPENING', '@PREV_YEAR@-12-02', 'OPENING', '@PREV_YEAR@-12-02', 0.12, 100, 12.00, 'pcs', FALSE, 'OPENING', FALSE, '@PREV_YEAR@-12-02', '11:15:00');

INSERT INTO Category_master_table (category_name, description) VALUES
('HARDWARE', 'Hardware'),
('ELECTRICAL', 'Electrical'),
('CONSUMABLES', 'Consumables'),
('SERVICES', 'Services');

INSERT INTO Item_category_table (itemcode, category_name) VALUES
('WIDGET-A', 'HARDWARE'),
('BOLT-M8', 'HARDWARE'),
('WIRE-CU', 'ELECTRICAL'),
('PAINT-5L', 'CONSUMABLES'),
('WARRANTY-EXT', 'SERVICES');

INSERT INTO Item_group_master_table (group_name, description) VALUES
('FAST', 'Fast movers'),
('SLOW', 'Slow movers');

INSERT INTO Item_group_table (itemcode, group_name) VALUES
('WIDGET-A', 'FAST'),
('BOLT-M8', 'FAST'),
('PAINT-5L', 'SLOW'),
('WIRE-CU', 'SLOW');

-- ===== Vendors and purchasing lists =====

INSERT INTO Vendor_group_master_table (group_name, Description) VALUES
('DOMESTIC', 'Domestic suppliers'),
('OVERSEAS', 'Overseas suppliers'),
('FREIGHT', 'Carriers and customs brokers');

-- V9001 is discontinued and inactive; V9002 has no payable account yet.
INSERT INTO Vendor_table (vendor_no, vendor_name, Description, currency, payment_term, tax_code, contact_person,
    phone1, phone2, fax1, fax2, mobile1, mobile2, email1, email2, website, Address, city, State, province, country, postal_code,
    credit_limit, vendor_group, ap_accno, owing_balance, active, discontinued) VALUES
('V1001', 'Acme Industrial Supply', 'Widgets, bolts and wire', 'USD', '30', 'ST', 'Karen Wu',
    '937-555-0142', NULL, '937-555-0143', NULL, '937-555-0190', NULL, 'orders@acme-industrial.example', NULL, 'www.acme-industrial.example',
    '1200 Industrial Parkway', 'Dayton', 'OH', NULL, 'USA', '45402', 25000.00, 'DOMESTIC', '2000', 0, TRUE, FALSE),
('V1002', 'O''Brien Supply', 'Paint and consumables', 'USD', '210', 'ST', 'Sean O''Brien',
    '312-555-0177', NULL, NULL, NULL, NULL, NULL, 'sean@obrien-supply.example', NULL, NULL,
    '77 Lake Street', 'Chicago', 'IL', NULL, 'USA', '60601', 10000.00, 'DOMESTIC', '2000', 0, TRUE, FALSE),
('V1003', 'Northwind Office Products', 'Office supplies and manuals', 'USD', '30', 'CAP', 'Dana Price',
    '217-555-0155', NULL, NULL, NULL, NULL, NULL, 'sales@northwind-office.example', NULL, NULL,
    '5 Capitol Avenue', 'Springfield', 'IL', NULL, 'USA', '62701', NULL, 'DOMESTIC', '2000', 0, TRUE, FALSE),
('V2001', 'Europa Komponenten GmbH', 'Fasteners from Germany', 'EUR', '60', 'VAT50', 'Jana Krause',
    '+49 69 555 0120', NULL, '+49 69 555 0121', NULL, NULL, NULL, 'vertrieb@europa-komponenten.example', NULL, NULL,
    'Industriestrasse 12', 'Frankfurt am Main', NULL, 'Hesse', 'Germany', '60311', 50000.00, 'OVERSEAS', '2010', 0, TRUE, FALSE),
('V3001', 'Maple Leaf Freight Ltd.', 'Cross-border freight', 'CAD', '30', 'GP', 'Luc Tremblay',
    '416-555-0133', NULL, NULL, NULL, NULL, NULL, 'dispatch@mapleleaf-freight.example', NULL, NULL,
    '300 Front Street West', 'Toronto', NULL, 'Ontario', 'Canada', 'M5V 3A8', NULL, 'FREIGHT', '2020', 0, TRUE, FALSE),
('V3002', 'Great Lakes Customs Brokers', 'Customs clearance and duty', 'USD', '00', 'EXEMPT', 'Amy Novak',
    '716-555-0166', NULL, NULL, NULL, NULL, NULL, 'clearance@greatlakes-customs.example', NULL, NULL,
    '1 Peace Bridge Plaza', 'Buffalo', 'NY', NULL, 'USA', '14213', NULL, 'FREIGHT', '2000', 0, TRUE, FALSE),
('V9001', 'Old Mill Traders', 'No longer used', 'USD', '30', 'ST', NULL,
    NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
    '9 Mill Road', 'Peoria', 'IL', NULL, 'USA', '61602', NULL, NULL, '2000', 0, FALSE, TRUE),
('V9002', 'Pending Vendor Inc.', 'Set-up not finished: no payable account', 'USD', '30', 'ST', NULL,
    NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
    NULL, NULL, NULL, NULL, 'USA', NULL, NULL, NULL, NULL, 0, TRUE, FALSE);

INSERT INTO Item_manufacturer_partno_table (vendor_no, vendor_itemcode, itemcode, manufacturer) VALUES
('V1001', 'ACM-W100', 'WIDGET-A', 'Acme'),
('V1001', 'ACM-B8', 'BOLT-M8', 'Acme'),
('V1001', 'ACM-CU25', 'WIRE-CU', 'Acme'),
('V2001', 'EK-4471', 'BOLT-M8', 'Europa Komponenten'),
('V1002', 'OB-PAINT5', 'PAINT-5L', 'O''Brien');

INSERT INTO Vendor_miscellaneous_charge_table (itemcode, Description, account, tax_code) VALUES
('FREIGHT', 'Freight charge', '5200', 'EXEMPT'),
('DUTY', 'Customs duty', '5200', 'EXEMPT'),
('HANDLING', 'Handling fee', '5200', 'ST'),
('INSURANCE', 'Transit insurance', '6400', 'EXEMPT');

-- The advance paid to Northwind for its first order of the year, waiting for that order's bill
-- (a receipt of the order with the bill number applies it: prepayment no. ADV-001, 150.00).
INSERT INTO Payment_header_table (company, fkey, doctype, docno, vendor_no, Payment_date, currency, payby, bank_accno,
    check_no, check_date, po_no, remark, payment_amount, prepayment_accno, period, fyear, Source, source_docno, GLFKEY,
    billed, void, date_created, time_created, user_created) VALUES
(1, '1pp-adv1', 'pp', 'ADV-001', 'V1003', '@PREV_YEAR@-12-15', 'USD', 'Check', 'OPER', '1001', '@PREV_YEAR@-12-15',
    'PO-@YY@-00001', 'Advance for the first order of the year', 150.00, '1450', 12, '@PREV_YEAR@', 'AP-PAYMENT', 'ADV-001',
    '1gl-adv1', FALSE, FALSE, '@PREV_YEAR@-12-15', '00:00:00', 'ADMIN');

INSERT INTO Prepayment_waiting_PO_table (company, prepayment_no, prepayment_fkey, po_no, amount) VALUES
(1, 'ADV-001', '1pp-adv1', 'PO-@YY@-00001', 150.00);

INSERT INTO Shipvia_table (shipvia_id, Description, contact_person, Address, city, State, province, country, postal_code,
    phone1, phone2, fax1, fax2, mobile1, mobile2, email1, email2, website, active) VALUES
('UPS', 'UPS Ground', NULL, NULL, NULL, NULL, NULL, 'USA', NULL, '800-555-0177', NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'www.ups.example', TRUE),
('FEDEX', 'FedEx Express', NULL, NULL, NULL, NULL, NULL, 'USA', NULL, '800-555-0133', NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'www.fedex.example', TRUE),
('DHL', 'DHL International', NULL, NULL, NULL, NULL, NULL, 'Germany', NULL, '800-555-0145', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, TRUE),
('TRUCK', 'Maple Leaf truckload', 'Luc Tremblay', '300 Front Street West', 'Toronto', NULL, 'Ontario', 'Canada', 'M5V 3A8', '416-555-0133', NULL, NULL, NULL, NULL, NULL, 'dispatch@mapleleaf-freight.example', NULL, NULL, TRUE),
('PICKUP', 'Collected by our driver', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, TRUE);

-- ===== Rights, layouts and remembered values =====

-- ADMIN may change, print and lay out every window; JSMITH enters requisitions and orders but
-- prints nothing there, and may print the reports.
INSERT INTO User_table (userid, name, active) VALUES
('ADMIN', 'Administrator', TRUE),
('JSMITH', 'John Smith', TRUE);

INSERT INTO User_right_table (form, userid, "update", Print, form_design) VALUES
('POform_pr', 'ADMIN', TRUE, TRUE, TRUE),
('POform_po', 'ADMIN', TRUE, TRUE, TRUE),
('POform_receipt', 'ADMIN', TRUE, TRUE, TRUE),
('POform_invoice', 'ADMIN', TRUE, TRUE, TRUE),
('POform_landed', 'ADMIN', TRUE, TRUE, TRUE),
('POform_misccharge', 'ADMIN', TRUE, TRUE, TRUE),
('POform_shipvia', 'ADMIN', TRUE, TRUE, TRUE),
('POform_vendor_group', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_vendor_list', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_pr_transaction', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_po_transaction', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_receipt_transaction', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_invoice_transaction', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_payable_clearing', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_purchase_tax', 'ADMIN', TRUE, TRUE, TRUE),
('POform_pr', 'JSMITH', TRUE, FALSE, FALSE),
('POform_po', 'JSMITH', TRUE, FALSE, FALSE),
('POreport_pr_transaction', 'JSMITH', FALSE, TRUE, FALSE),
('POreport_po_transaction', 'JSMITH', FALSE, TRUE, FALSE);

INSERT INTO Form_property_table (userid, form, toolbar_text, Fontbar) VALUES
('ADMIN', 'POform_pr', TRUE, FALSE),
('ADMIN', 'POform_po', TRUE, FALSE),
('ADMIN', 'POform_receipt', TRUE, FALSE),
('ADMIN', 'POform_invoice', TRUE, FALSE),
('ADMIN', 'POform_landed', NULL, NULL),
('ADMIN', 'POreport_po_transaction', FALSE, TRUE);

INSERT INTO Grid_property (form_name, grid_name, userid, col_order, Caption, Visible, Locked, cell_type, col_width, Alignment,
    font_name, font_size, font_italic, font_bold, font_underline, font_color, AutoCompletion, Format, row_height) VALUES
('POform_misccharge', 'dbgrid1', 'ADMIN', 0, 'item code', TRUE, FALSE, NULL, 1500, 0, NULL, NULL, NULL, TRUE, NULL, NULL, TRUE, NULL, 370),
('POform_misccharge', 'dbgrid1', 'ADMIN', 1, 'description', TRUE, FALSE, NULL, 3000, 0, NULL, NULL, NULL, NULL, NULL, NULL, FALSE, NULL, 370),
('POform_misccharge', 'dbgrid1', 'ADMIN', 2, 'account', TRUE, FALSE, NULL, 1200, 0, NULL, NULL, NULL, NULL, NULL, NULL, TRUE, NULL, 370),
('POform_misccharge', 'dbgrid1', 'ADMIN', 3, 'account name', TRUE, TRUE, NULL, 2500, 0, NULL, NULL, NULL, NULL, NULL, NULL, FALSE, NULL, 370),
('POform_misccharge', 'dbgrid1', 'ADMIN', 4, 'tax code', TRUE, FALSE, NULL, 1000, 2, NULL, NULL, NULL, NULL, NULL, NULL, TRUE, NULL, 370);

INSERT INTO Report_format_table ("user", form_name, font_name, font_size, Bold, font_color, evenrow_color, disabled_evenrow_color,
    use_grid_font, column_divider, split_page, row_height, top_margin, bottom_margin, left_margin, right_margin,
    Orientation, PaperSize, Width, Height, unit) VALUES
('ADMIN', 'POreport_vendor_list', 'DejaVu Sans', 9, FALSE, 0, 15790320, FALSE, FALSE, TRUE, NULL, 14, 36, 36, 36, 36,
    '2', 'LETTER (8.5x11 in.)', 8.5, 11, 'inch');

-- Remembered values: the shared alternate-row colour switch (found by control_name alone),
-- the inquiries' date ranges and the purchase tax report's filters, dates as "mmm dd,yyyy".
INSERT INTO Recent_value_table (form_name, control_name, Value) VALUES
('ALL', 'evenrow_color', '1'),
('POreport_pr_transaction', 'fromdate', 'Jan 01,@YEAR@'),
('POreport_pr_transaction', 'todate', 'Dec 31,@YEAR@'),
('POreport_po_transaction', 'fromdate', 'Jan 01,@YEAR@'),
('POreport_po_transaction', 'todate', 'Dec 31,@YEAR@'),
('POreport_receipt_transaction', 'fromdate', 'Jan 01,@YEAR@'),
('POreport_receipt_transaction', 'todate', 'Dec 31,@YEAR@'),
('POreport_invoice_transaction', 'fromdate', 'Jan 01,@YEAR@'),
('POreport_invoice_transaction', 'todate', 'Dec 31,@YEAR@'),
('POreport_purchase_tax', 'cmbautho', 'All'),
('POreport_purchase_tax', 'cmbfyear', '@YEAR@'),
('POreport_purchase_tax', 'cmbperiod', '1'),
('POreport_purchase_tax', 'date1', 'Jan 01,@YEAR@'),
('POreport_purchase_tax', 'date2', 'Dec 31,@YEAR@'),
('GLreport_income_statement', 'cmbfyear', '@YEAR@'),
('GLreport_income_statement', 'cmbperiod', '1');
