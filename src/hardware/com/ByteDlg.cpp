#include "hardware/com/ByteDlg.h"

#include "platform/Context.h"
#include "ui/ByteSequence.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <functional>

namespace {

constexpr int kRows = 256;

QStringList HelpLines()
{
    switch (Ctx().CurrentLanguage) {
    case 1:
        return {u"You may define 256 byte sequences. Format:"_qs, QString(),
                u"- Text constants in quotation marks: \"Hello\""_qs,
                u"- Byte value in decimal format: 127"_qs,
                u"- Byte value in hexadecimal format: $0D $10"_qs, QString(),
                u"Separate values with SPACE."_qs};
    case 2:
        return {u"Vous pouvez définir une séquence de 256 octets. Format:"_qs, QString(),
                u"- Texte entre parenthèses: \"Hello\""_qs, u"- Valeur décimale: 127"_qs,
                u"- valeur héxadecimale: $0D $10"_qs, QString(),
                u"Séparez les valeurs avec des espaces."_qs};
    default:
        return {u"Sie können 256 Bytefolgen definieren. Verwenden Sie"_qs, QString(),
                u"  - Textkonstanten in Anführungszeichen z.B.\"HALLO\""_qs,
                u"  - Bytewerte als Zahl z.B. 127"_qs,
                u"  - Bytewerte in Hexdarstellung z.B. $0D $10"_qs, QString(),
                u"Trennen Sie Werte mit Leerzeichen."_qs};
    }
}

// Cells edited with a line edit whose every change goes to onTyping, so that the preview
// follows the typing before the cell takes the text.
class TTypingDelegate : public QStyledItemDelegate {
public:
    TTypingDelegate(QObject* parent, std::function<void(const QString&)> onTyping)
        : QStyledItemDelegate(parent), m_onTyping(std::move(onTyping))
    {
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            QObject::connect(line, &QLineEdit::textChanged, line, m_onTyping);
        return editor;
    }

private:
    std::function<void(const QString&)> m_onTyping;
};

// The grid's top-left corner is the caption of the number column: it paints the corner
// button's text, which the table itself leaves out.
class TCornerCaption : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* corner = qobject_cast<QAbstractButton*>(watched);
        if (!corner || event->type() != QEvent::Paint)
            return false;
        QStyleOptionHeader option;
        option.initFrom(corner);
        // The button takes no clicks, but its caption reads like the other headers.
        option.state |= QStyle::State_Enabled;
        option.palette.setCurrentColorGroup(QPalette::Active);
        option.rect = corner->rect();
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.text = corner->text();
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        QStylePainter painter(corner);
        painter.drawControl(QStyle::CE_Header, option);
        return true;
    }
};

} // namespace

TByte_Dlg::TByte_Dlg(QWidget* parent)
    : TByteSequenceDlg(u"Byte_Dlg"_qs, parent)
{
    // Row 0 of the grid is the fixed header row; the sequences are the rows below it.
    Grid = new QTableWidget(kRows, 1);
    Grid->setObjectName(u"Grid"_qs);
    Grid->setHorizontalHeaderLabels({u" Definition"_qs});
    Grid->horizontalHeader()->setStretchLastSection(true);
    Grid->verticalHeader()->setDefaultSectionSize(18);
    QStringList numbers;
    for (int i = 0; i < kRows; ++i)
        numbers << QStringLiteral(" $%1").arg(i, 2, 16, QLatin1Char('0')).toUpper();
    Grid->setVerticalHeaderLabels(numbers);
    Grid->setCornerButtonEnabled(false);
    if (auto* corner = Grid->findChild<QAbstractButton*>()) {
        corner->setText(u" Nr."_qs);
        corner->installEventFilter(new TCornerCaption(corner));
    }
    Grid->setItemDelegate(new TTypingDelegate(Grid, [this](const QString& text) { Preview(text); }));
    Grid->setMinimumHeight(120);
    AddToFrame(Grid, 2);
    FinishLayout();
    connect(Grid, &QTableWidget::currentCellChanged, this, [this] { setMonitor(); });
    connect(Grid, &QTableWidget::cellChanged, this, [this] { setMonitor(); });

    Memo1->setPlainText(HelpLines().join(u'\n'));
    // The whole help text without a scroll bar.
    Memo1->setMinimumHeight(Memo1->fontMetrics().lineSpacing() * 8 + 12);
    setWindowTitle(Lang3Q("Bytefolgen definieren", "Byte sequences", "Séquence d´octets"));
    Monitor->setText(Lang3Q("Übertragungsvorschau (HEX)", "Preview [HEX]",
                            "Pré-visualisation [HEX]"));
    TranslateCancel();
    resize(420, 520);
}

void TByte_Dlg::SetSequences(const QStringList& entries)
{
    Grid->setHorizontalHeaderLabels({entries.value(0)});
    for (int row = 0; row < kRows; ++row) {
        auto* item = Grid->item(row, 0);
        if (!item) {
            item = new QTableWidgetItem;
            Grid->setItem(row, 0, item);
        }
        item->setText(entries.value(row + 1));
    }
    Grid->setCurrentCell(0, 0);
}

QStringList TByte_Dlg::Sequences() const
{
    QStringList entries;
    const QTableWidgetItem* header = Grid->horizontalHeaderItem(0);
    entries << (header ? header->text() : QString());
    for (int row = 0; row < kRows; ++row) {
        const QTableWidgetItem* item = Grid->item(row, 0);
        entries << (item ? item->text() : QString());
    }
    return entries;
}

void TByte_Dlg::setMonitor()
{
    const QTableWidgetItem* item = Grid->currentItem();
    Preview(item ? item->text() : QString());
}

void TByte_Dlg::Preview(const QString& sequence)
{
    ShowPreview(BytesToHexText(ParseByteSequence(sequence)));
}

TByte_Dlg& Byte_Dlg()
{
    static TByte_Dlg* dialog = nullptr;
    if (!dialog) {
        dialog = new TByte_Dlg;
        // Freed while the application still exists.
        qAddPostRoutine([] {
            delete dialog;
            dialog = nullptr;
        });
    }
    return *dialog;
}
