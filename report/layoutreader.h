#pragma once

#include "report/report.h"

#include <QByteArrayView>
#include <QString>
#include <memory>

namespace report {

/// Reads a report from its stored layout, a small text format:
///
///     # comment
///     TReport ChequeReport {
///         Units = MM
///         Page.Values = (80 2970 100 2100 100 100 0)
///         TReportBand ColumnHeaderBand1 {
///             BandType = rbDetail
///             Size.Values = (664.1041666666667 2042.583333333333)
///             TReportLabel PrintLabel1 {
///                 Left = 315
///                 Caption = "text with \"quotes\""
///             }
///         }
///     }
///
/// One item per line: a component opening with its class and name, a property `Key = value`,
/// or a closing brace. Values are integers, decimal numbers, true/false, names, "strings",
/// #RRGGBB colours, (number or string lists) and [name sets]. Pixel bounds arrive first and
/// are kept while loading; the `Values` lists are taken as they are; when the text ends every
/// size is pushed into pixels at the screen's resolution, stored font sizes are applied and
/// the bands are laid out to the page.
///
/// Anything malformed throws EReportError naming the source and the line.
std::unique_ptr<TReport> readReportLayout(QByteArrayView text, const QString& sourceName);

/// Reads a layout file (a resource path works too).
std::unique_ptr<TReport> loadReportLayout(const QString& fileName);

} // namespace report
