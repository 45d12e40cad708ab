#include "batchconverter.h"

#include "conversionerror.h"

#include <QLocale>

#include <vector>

namespace quantix {

namespace {

constexpr std::size_t flushSize = 1 << 16;

QString shown(std::string_view text)
{
    constexpr qsizetype longest = 60;
    QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(std::min<std::size_t>(text.size(), 4 * longest)));
    if (value.size() > longest || text.size() > 4 * longest)
        value = value.left(longest) + QStringLiteral("...");
    return value;
}

}

BatchConverter::BatchConverter(const Converter &converter, const Quantity &quantity, UnitRef from, UnitRef to, NumberStyle style)
    : m_converter(converter)
    , m_quantity(quantity)
    , m_from(std::move(from))
    , m_to(std::move(to))
    , m_style(style)
    , m_separator(QLocale().decimalPoint().toStdString())
{
    m_out.reserve(flushSize + 1024);
}

void BatchConverter::convert(std::string_view text, const char *originKind, long long originNumber)
{
    if (!text.empty()) {
        const std::size_t start = m_out.size();
        try {
            const double value = readTypedValue(text);
            const double result = m_converter.fromBase(m_quantity, m_to, m_converter.toBase(m_quantity, m_from, value));
            appendFormattedResult(m_out, result, m_style, m_separator);
        } catch (const ConversionError &error) {
            m_out.resize(start);
            m_failed = true;
            flush();
            const QString message = QStringLiteral("quantix96-convert: %1 %2 (\"%3\"): %4\n")
                                        .arg(QLatin1String(originKind), QString::number(originNumber), shown(text),
                                             conversionErrorMessage(error.number()));
            std::fputs(message.toLocal8Bit().constData(), stderr);
        }
    }
    m_out.push_back('\n');
    if (m_out.size() >= flushSize)
        flush();
}

void BatchConverter::convertLines(std::FILE *input)
{
    std::vector<char> buffer(flushSize);
    std::string pending;  // a line that runs over the end of the buffer
    long long lineNumber = 0;
    const auto convertLine = [&](std::string_view line) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNumber;
        convert(line, "line", lineNumber);
    };
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), input)) > 0) {
        std::string_view chunk(buffer.data(), got);
        for (std::size_t end; (end = chunk.find('\n')) != std::string_view::npos; chunk.remove_prefix(end + 1)) {
            if (pending.empty()) {
                convertLine(chunk.substr(0, end));
            } else {
                pending.append(chunk.substr(0, end));
                convertLine(pending);
                pending.clear();
            }
        }
        pending.append(chunk);
    }
    if (!pending.empty())
        convertLine(pending);
}

void BatchConverter::flush()
{
    std::fwrite(m_out.data(), 1, m_out.size(), stdout);
    std::fflush(stdout);
    m_out.clear();
}

}
