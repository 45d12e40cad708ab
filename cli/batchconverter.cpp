#include "cli/batchconverter.h"

#include "cli/linesplitter.h"
#include "cli/standardstreams.h"
#include "cli/terminaltext.h"
#include "engine/errors.h"

#include <vector>

namespace quantix {

BatchConverter::BatchConverter(const Converter &converter, UnitRef from, UnitRef to, NumberStyle style, std::string decimalPoint,
                               std::string groupSeparator, OutputStream &output)
    : m_converter(converter)
    , m_from(std::move(from))
    , m_to(std::move(to))
    , m_style(style)
    , m_separator(std::move(decimalPoint))
    , m_groupSeparator(std::move(groupSeparator))
    , m_output(output)
{
    if (m_from.rule)
        m_fromParts = typedInParts(m_from.rule->id);
    if (m_to.rule && hasOwnForm(m_to.rule->id, m_style))
        m_ownFormUnit = m_to.rule->id;
}

// A script cannot see a tool tip: a number cut short at a second decimal
// point is an error here, where the window reads it and says how.
template<typename Number>
void BatchConverter::convertValue(const Number &number, std::string_view start, bool cut, const char *originKind,
                                  long long originNumber)
{
    std::string &out = m_output.buffer();
    const std::size_t before = out.size();
    QString problem;
    try {
        double value = number.value();
        // A line too long to show whole is no measure in parts. Inches alone
        // are read so only where a fraction stands: a plain number is read as
        // any unit's, with the check of a second decimal point.
        const bool inParts = m_fromParts && (m_fromParts->parts > 1 || start.find('/') != std::string_view::npos);
        if (inParts)
            value = cut ? value * largestPartSize(*m_fromParts) : readCompoundValue(QString::fromUtf8(start.data(), qsizetype(start.size())), *m_fromParts,
                                                                         QString::fromStdString(m_separator));
        if (number.cutAtPoint() && !inParts) {
            problem = QStringLiteral("two decimal points (\".\" and \"%1\" both mark the decimals here)")
                          .arg(QString::fromStdString(m_separator));
        } else {
            const double result = m_converter.fromBase(m_to, m_converter.toBase(m_from, value));
            if (m_ownFormUnit != 0)
                out += formatUnitResult(result, m_ownFormUnit, m_style, QString::fromStdString(m_separator)).toStdString();
            else
                appendFormattedResult(out, result, m_style, m_separator, m_groupSeparator);
        }
    } catch (const ConversionError &error) {
        out.resize(before);
        problem = conversionErrorMessage(error.number());
    }
    if (problem.isEmpty())
        return;
    m_failed = true;
    // Written first, so that both streams on one terminal keep their order.
    m_output.flush();
    printMessage(QStringLiteral("%1 %2 (\"%3\"): %4")
                     .arg(QLatin1String(originKind), QString::number(originNumber), quotedValue(start, cut), problem));
}

void BatchConverter::convert(std::string_view text, const char *originKind, long long originNumber)
{
    if (m_output.failed())
        return;
    if (!text.empty()) {
        TypedValueReader reader(m_separator);
        reader.read(text);
        convertValue(reader, text.substr(0, shownBytes), text.size() > shownBytes, originKind, originNumber);
    }
    m_output.buffer().push_back('\n');
    m_output.flushIfFull();
}

int BatchConverter::convertLines(int fd)
{
    std::vector<char> buffer(OutputStream::flushSize);
    LineSplitter splitter(m_separator);
    long long lineNumber = 0;
    const auto convertLine = [&](const BoundedLine &line) {
        if (m_output.failed())
            return;
        ++lineNumber;
        if (!line.isEmpty())
            convertValue(line, line.start(), line.cut(), "line", lineNumber);
        m_output.buffer().push_back('\n');
        m_output.flushIfFull();
    };
    while (!m_output.failed()) {
        const long got = readSome(fd, buffer.data(), buffer.size());
        if (got < 0)
            return static_cast<int>(-got);
        if (got == 0) {
            splitter.finish(convertLine);
            break;
        }
        splitter.feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)), convertLine);
        // A short read has caught up with whoever writes the input: show the
        // results so far rather than wait for more.
        if (static_cast<std::size_t>(got) < buffer.size())
            m_output.flush();
    }
    return 0;
}

}
