// capitals: the cheque wording of amounts and dates on the command line.
//
//   capitals                 one amount text per line on stdin -> its capitals, one line each
//   capitals --grid          one amount text per line on stdin -> the eleven grid cells, "|"-joined
//   capitals --date Y-M-D    the year, month and day capitals, one per line
//
// Input and output are UTF-8; amounts go to the library as GBK, as the window passes them.

#include "wording/capitals.h"
#include "wording/digitgrid.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QStringEncoder>
#include <QStringList>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

enum ExitCode
{
    exitOk = 0,
    exitRejected = 1,
    exitUsage = 2
};

void writeLine(std::FILE* stream, const QString& text)
{
    if (stream == stderr)
        std::fflush(stdout); // keep a message next to the output line it explains
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stream);
    std::fputc('\n', stream);
}

// Lines of stdin without their line ending; a CR before the LF belongs to the ending.
template <typename Handle> void forEachLine(Handle handle)
{
    std::string line;
    long number = 0;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        handle(++number, QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    }
}

int printAmounts()
{
    int status = exitOk;
    QStringEncoder toGbk("GBK");
    if (!toGbk.isValid()) {
        writeLine(stderr, QStringLiteral("capitals: this Qt has no GBK converter"));
        return exitUsage;
    }
    forEachLine([&](long number, const QString& amountText) {
        const QByteArray gbk = toGbk(amountText);
        const wording::AmountCapitals result = wording::AmountInCapitals(gbk);
        if (result.offendingByte >= 0) {
            writeLine(stderr, QStringLiteral("capitals: line %1: byte %2 is neither a digit nor a "
                                             "point: 读取错误，应为数字")
                                  .arg(number)
                                  .arg(result.offendingByte));
            status = exitRejected;
        } else if (result.tooLarge) {
            writeLine(stderr, QStringLiteral("capitals: line %1: %2")
                                  .arg(number)
                                  .arg(wording::kAmountTooLargeMessage));
            status = exitRejected;
        }
        // One output line per input line, empty where the window would show an empty label.
        writeLine(stdout, result.text);
    });
    return status;
}

int printGrids()
{
    forEachLine([](long, const QString& amountText) {
        const auto cells = wording::AmountDigitGrid(QStringLiteral("￥") + amountText);
        QStringList parts(cells.begin(), cells.end());
        writeLine(stdout, parts.join(u'|'));
    });
    return exitOk;
}

int printDate(const QString& isoDate)
{
    const QDate date = QDate::fromString(isoDate, Qt::ISODate);
    if (!date.isValid()) {
        writeLine(
            stderr,
            QStringLiteral("capitals: \"%1\" is not a date of the form YYYY-MM-DD").arg(isoDate));
        return exitUsage;
    }
    // The same figures the mock-up writes: decimal, without leading zeros.
    writeLine(stdout, wording::YearInCapitals(QString::number(date.year())));
    writeLine(stdout, wording::MonthInCapitals(QString::number(date.month())).value_or(QString()));
    writeLine(stdout, wording::DayInCapitals(QString::number(date.day())).value_or(QString()));
    return exitOk;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("capitals"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the cheque wording of the amount texts read from standard input, "
                       "one line each."));
    parser.addHelpOption();
    const QCommandLineOption dateOption(
        QStringLiteral("date"),
        QStringLiteral("Print the year, month and day of <date> in capitals, one per line."),
        QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption gridOption(
        QStringLiteral("grid"),
        QStringLiteral("Print the eleven digit-grid cells of each amount, joined by \"|\"."));
    parser.addOption(dateOption);
    parser.addOption(gridOption);
    parser.process(app);

    if (!parser.positionalArguments().isEmpty() ||
        (parser.isSet(dateOption) && parser.isSet(gridOption))) {
        writeLine(stderr, QStringLiteral("capitals: use either --date or --grid, and no other "
                                         "arguments; see --help"));
        return exitUsage;
    }
    if (parser.isSet(dateOption))
        return printDate(parser.value(dateOption));
    if (parser.isSet(gridOption))
        return printGrids();
    return printAmounts();
}
