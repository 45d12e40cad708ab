#include "ui/help/helpwindow.h"

#include "engine/stringtable.h"
#include "ui/common/uisupport.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace quantix {

namespace {

// The help window's own words; the menus' "&Contents" comes from the string table.
QString titleSuffix() { return str(1020); }
QString backCaption() { return str(1021); }
QString forwardCaption() { return str(1022); }
QString findCaption() { return str(1023); }
constexpr int contentsCaptionId = 51;
constexpr int topicsCaptionId = 1265;
constexpr QSize initialSize(640, 480);

// Qt's rich text ignores nowrap on a table cell: the cell's text goes into
// a block of unbreakable lines instead, so that a value such as
// "6.626 070 15 × 10⁻³⁴" stays on one line and the table grows wider.
QString keepCellsOnOneLine(QString body)
{
    static const QRegularExpression cell(QStringLiteral("(<t[dh]\\b[^>]*\\bnowrap\\b[^>]*>)(.*?)(</t[dh]>)"),
                                         QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return body.replace(cell, QStringLiteral("\\1<div style=\"white-space:nowrap\">\\2</div>\\3"));
}

QToolButton *addButton(QHBoxLayout *row, const QString &name, const QString &caption)
{
    auto *button = new QToolButton;
    button->setObjectName(name);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    row->addWidget(button);
    return button;
}

}

QVariant HelpBrowser::loadResource(int, const QUrl &)
{
    return {};
}

HelpWindow::HelpWindow(std::shared_ptr<const HelpFile> file, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_file(std::move(file))
{
    setObjectName(QStringLiteral("yellow"));
    setProgramIcon(this);

    auto *buttons = new QHBoxLayout;
    QToolButton *contents = addButton(buttons, QStringLiteral("contents"), str(contentsCaptionId));
    m_back = addButton(buttons, QStringLiteral("back"), backCaption());
    m_forward = addButton(buttons, QStringLiteral("forward"), forwardCaption());
    buttons->addStretch();

    m_searchPanel = new QWidget;
    m_searchPanel->setObjectName(QStringLiteral("searchPanel"));
    auto *findLabel = new QLabel(findCaption());
    m_query = new QLineEdit;
    m_query->setObjectName(QStringLiteral("search"));
    m_query->setClearButtonEnabled(true);
    useProgramEditMenu(m_query);
    findLabel->setBuddy(m_query);
    m_hits = new QListWidget;
    m_hits->setObjectName(QStringLiteral("hits"));
    m_hits->setAccessibleName(str(topicsCaptionId));
    auto *searchLayout = new QVBoxLayout(m_searchPanel);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->addWidget(findLabel);
    searchLayout->addWidget(m_query);
    searchLayout->addWidget(m_hits);
    m_searchPanel->hide();

    m_text = new HelpBrowser;
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setOpenLinks(false);
    m_text->setOpenExternalLinks(false);
    useProgramEditMenu(m_text);
    keepLinksReadable(m_text);
    // A narrow table column breaks between words, never inside one: the table
    // grows wider and scrolls instead.
    m_text->setWordWrapMode(QTextOption::WordWrap);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(m_searchPanel);
    splitter->addWidget(m_text);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({initialSize.width() / 3, initialSize.width() * 2 / 3});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    resize(initialSize);

    connect(contents, &QToolButton::clicked, this, &HelpWindow::showContents);
    connect(m_back, &QToolButton::clicked, this, [this] { go(-1); });
    connect(m_forward, &QToolButton::clicked, this, [this] { go(1); });
    connect(m_text, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(m_query, &QLineEdit::textChanged, this, &HelpWindow::search);
    const auto showHit = [this](QListWidgetItem *item) {
        const QVariant context = item->data(Qt::UserRole);
        if (const HelpTopic *topic = context.isValid() ? m_file->topic(context.toInt()) : nullptr)
            showTopic(*topic);
    };
    connect(m_hits, &QListWidget::itemClicked, this, showHit);
    connect(m_hits, &QListWidget::itemActivated, this, showHit);
    search(QString());
    updateButtons();
}

void HelpWindow::showTopic(const HelpTopic &topic)
{
    if (m_position < 0 || m_history[m_position] != topic.context) {
        m_history.resize(m_position + 1);
        m_history.append(topic.context);
        m_position = m_history.size() - 1;
    }
    display(topic.context);
}

void HelpWindow::showContents()
{
    m_searchPanel->show();
    if (const HelpTopic *contents = m_file->contents())
        showTopic(*contents);
    m_query->setFocus();
    m_query->selectAll();
}

void HelpWindow::display(int context)
{
    const HelpTopic *topic = m_file->topic(context);
    if (!topic)
        return;
    setWindowTitle(topic->title + titleSuffix());
    m_text->setAccessibleName(topic->title);
    m_text->setHtml(QLatin1String("<h2>") + topic->title.toHtmlEscaped() + QLatin1String("</h2>") + keepCellsOnOneLine(topic->body));
    updateButtons();
}

void HelpWindow::go(int step)
{
    const qsizetype position = m_position + step;
    if (position < 0 || position >= m_history.size())
        return;
    m_position = position;
    display(m_history[m_position]);
}

void HelpWindow::followLink(const QUrl &link)
{
    bool ok = false;
    const int context = link.scheme() == u"topic" ? link.path().toInt(&ok) : -1;
    if (!ok)
        return;
    if (const HelpTopic *topic = m_file->topic(context))
        showTopic(*topic);
}

// The list holds the topics of the help window only: a control's pop-up
// text belongs to What's This (two controls of one caption would be listed
// twice). Without words the list is the index of all those topics; words
// that no topic contains are answered with a line that says so.
void HelpWindow::search(const QString &query)
{
    m_hits->clear();
    const bool words = !query.trimmed().isEmpty();
    QList<const HelpTopic *> found;
    if (words) {
        found = m_file->search(query);
    } else {
        for (const HelpTopic &topic : m_file->topics())
            found.append(&topic);
    }
    for (const HelpTopic *topic : std::as_const(found)) {
        if (topic->kind == TopicKind::Popup)
            continue;
        auto *item = new QListWidgetItem(topic->title, m_hits);
        item->setData(Qt::UserRole, topic->context);
    }
    if (words && m_hits->count() == 0) {
        auto *none = new QListWidgetItem(str(1202), m_hits);
        none->setFlags(Qt::NoItemFlags);
    }
}

void HelpWindow::updateButtons()
{
    m_back->setEnabled(m_position > 0);
    m_forward->setEnabled(m_position >= 0 && m_position + 1 < m_history.size());
}

}
