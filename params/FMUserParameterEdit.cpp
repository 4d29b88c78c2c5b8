#include "params/FMUserParameterEdit.h"

#include "app/Hourglass.h"
#include "params/FMChoiceBox.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *SpinButton(Qt::ArrowType arrow, const char *name, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    b->setFixedSize(18, 12);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QWidget *SpinPair(QToolButton *up, QToolButton *down, QWidget *parent)
{
    auto *w = new QWidget(parent);
    auto *v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->addWidget(up);
    v->addWidget(down);
    return w;
}

QLineEdit *InputBox(const char *name, int maxLength, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    e->setAlignment(Qt::AlignRight);
    // Typed digits only: no input method composing in the box.
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    const QFontMetrics fm(e->font());
    e->setMinimumWidth(fm.horizontalAdvance(QString(maxLength, u'0')) + 16);
    return e;
}

void FillChoices(TFMChoiceBox *box, const TChoiceList &list)
{
    box->clear();
    for (const TChoice &c : list.items)
        box->addItem(c.label);
    box->setCurrentIndex(list.current);
}

} // namespace

TFMUserParameterEdit::TFMUserParameterEdit(TDMUserParameterEdit &module, QWidget *owner)
    : QDialog(owner), dm(module)
{
    setObjectName(QStringLiteral("FMUserParameterEdit"));
    setWindowTitle(tr("パラメータ編集"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto *top = new QVBoxLayout(this);

    auto *head = new QHBoxLayout;
    lblSymbol = new QLabel(this);
    lblSymbol->setObjectName(QStringLiteral("lblSymbol"));
    lblSymbol->setFrameShape(QFrame::StyledPanel);
    lblSymbol->setMinimumWidth(80);
    lblName = new QLabel(this);
    lblName->setObjectName(QStringLiteral("lblName"));
    QFont bold = lblName->font();
    bold.setBold(true);
    lblName->setFont(bold);
    lblPosition = new QLabel(this);
    lblPosition->setObjectName(QStringLiteral("lblPosition"));
    head->addWidget(lblSymbol);
    head->addWidget(lblName, 1);
    head->addWidget(lblPosition);
    top->addLayout(head);

    auto *panelFrame = new QFrame(this);
    panelFrame->setFrameShape(QFrame::StyledPanel);
    auto *panelLayout = new QVBoxLayout(panelFrame);
    pnlNumber = BuildNumberPanel();
    pnlFraction = BuildFractionPanel();
    pnlDigits = BuildDigitsPanel();
    pnlCode = BuildCodePanel();
    for (QWidget *p : {pnlNumber, pnlFraction, pnlDigits, pnlCode}) {
        p->setParent(panelFrame);
        panelLayout->addWidget(p);
    }
    top->addWidget(panelFrame);

    auto *help = new QHBoxLayout;
    imgHelp = new QLabel(this);
    imgHelp->setObjectName(QStringLiteral("imgHelp"));
    imgHelp->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    imgHelp->setAlignment(Qt::AlignTop);
    memHelp = new QPlainTextEdit(this);
    memHelp->setObjectName(QStringLiteral("memHelp"));
    memHelp->setReadOnly(true);
    memHelp->setFocusPolicy(Qt::NoFocus);
    memHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memHelp->setMinimumSize(360, 90);
    help->addWidget(imgHelp);
    help->addWidget(memHelp, 1);
    top->addLayout(help);

    auto *buttons = new QHBoxLayout;
    btnOk = new QPushButton(tr("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(tr("キャンセル"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    top->addLayout(buttons);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    Fill();
}

QWidget *TFMUserParameterEdit::BuildNumberPanel()
{
    auto *w = new QWidget(this);
    w->setObjectName(QStringLiteral("pnlNumber"));
    auto *g = new QGridLayout(w);
    lblRange = new QLabel(w);
    lblRange->setObjectName(QStringLiteral("lblRange"));
    g->addWidget(lblRange, 0, 1, 1, 3);
    g->addWidget(new QLabel(tr("入力値 :"), w), 1, 0);
    edtValue = InputBox("edtValue", TDMUserParameterEdit::ValueMaxLength, w);
    btnValueUp = SpinButton(Qt::UpArrow, "btnValueUp", w);
    btnValueDown = SpinButton(Qt::DownArrow, "btnValueDown", w);
    lblUnit = new QLabel(w);
    lblUnit->setObjectName(QStringLiteral("lblUnit"));
    g->addWidget(edtValue, 1, 1);
    g->addWidget(SpinPair(btnValueUp, btnValueDown, w), 1, 2);
    g->addWidget(lblUnit, 1, 3);
    g->setColumnStretch(4, 1);
    edtValue->installEventFilter(this);
    connect(btnValueUp, &QToolButton::clicked, this, [this] { StepBox(edtValue, TStepDirection::Up, false); });
    connect(btnValueDown, &QToolButton::clicked, this, [this] { StepBox(edtValue, TStepDirection::Down, false); });
    return w;
}

QWidget *TFMUserParameterEdit::BuildFractionPanel()
{
    auto *w = new QWidget(this);
    w->setObjectName(QStringLiteral("pnlFraction"));
    auto *h = new QHBoxLayout(w);
    h->addWidget(new QLabel(tr("入力値 :"), w));
    edtNumerator = InputBox("edtNumerator", TDMUserParameterEdit::FractionMaxLength, w);
    btnNumeratorUp = SpinButton(Qt::UpArrow, "btnNumeratorUp", w);
    btnNumeratorDown = SpinButton(Qt::DownArrow, "btnNumeratorDown", w);
    edtDenominator = InputBox("edtDenominator", TDMUserParameterEdit::FractionMaxLength, w);
    btnDenominatorUp = SpinButton(Qt::UpArrow, "btnDenominatorUp", w);
    btnDenominatorDown = SpinButton(Qt::DownArrow, "btnDenominatorDown", w);
    lblFractionUnit = new QLabel(w);
    lblFractionUnit->setObjectName(QStringLiteral("lblFractionUnit"));
    h->addWidget(edtNumerator);
    h->addWidget(SpinPair(btnNumeratorUp, btnNumeratorDown, w));
    h->addWidget(new QLabel(QStringLiteral("/"), w));
    h->addWidget(edtDenominator);
    h->addWidget(SpinPair(btnDenominatorUp, btnDenominatorDown, w));
    h->addWidget(lblFractionUnit);
    h->addStretch(1);
    edtNumerator->installEventFilter(this);
    edtDenominator->installEventFilter(this);
    connect(btnNumeratorUp, &QToolButton::clicked, this, [this] { StepBox(edtNumerator, TStepDirection::Up, true); });
    connect(btnNumeratorDown, &QToolButton::clicked, this, [this] { StepBox(edtNumerator, TStepDirection::Down, true); });
    connect(btnDenominatorUp, &QToolButton::clicked, this, [this] { StepBox(edtDenominator, TStepDirection::Up, true); });
    connect(btnDenominatorDown, &QToolButton::clicked, this, [this] { StepBox(edtDenominator, TStepDirection::Down, true); });
    return w;
}

QWidget *TFMUserParameterEdit::BuildDigitsPanel()
{
    auto *w = new QWidget(this);
    w->setObjectName(QStringLiteral("pnlDigits"));
    auto *g = new QGridLayout(w);
    g->addWidget(new QLabel(tr("上位データ :"), w), 0, 0);
    lblHighName = new QLabel(w);
    lblHighName->setObjectName(QStringLiteral("lblHighName"));
    cboHigh = new TFMChoiceBox(w);
    cboHigh->setObjectName(QStringLiteral("cboHigh"));
    g->addWidget(lblHighName, 0, 1);
    g->addWidget(cboHigh, 1, 0, 1, 2);
    g->addWidget(new QLabel(tr("下位データ :"), w), 2, 0);
    lblLowName = new QLabel(w);
    lblLowName->setObjectName(QStringLiteral("lblLowName"));
    cboLow = new TFMChoiceBox(w);
    cboLow->setObjectName(QStringLiteral("cboLow"));
    g->addWidget(lblLowName, 2, 1);
    g->addWidget(cboLow, 3, 0, 1, 2);
    g->setColumnStretch(1, 1);
    return w;
}

QWidget *TFMUserParameterEdit::BuildCodePanel()
{
    auto *w = new QWidget(this);
    w->setObjectName(QStringLiteral("pnlCode"));
    auto *h = new QHBoxLayout(w);
    cboTable = new TFMChoiceBox(w);
    cboTable->setObjectName(QStringLiteral("cboTable"));
    h->addWidget(cboTable, 1);
    return w;
}

void TFMUserParameterEdit::Fill()
{
    const QFontMetrics fm(font());
    lblSymbol->setText(dm.Symbol());
    lblSymbol->setVisible(dm.SymbolShown());
    lblName->setText(dm.Name());
    lblPosition->setText(dm.Position());
    memHelp->setPlainText(dm.HelpText());

    const TDMUserParameterEdit::TPanel panel = dm.Panel();
    pnlNumber->setVisible(panel == TDMUserParameterEdit::TPanel::Number);
    pnlFraction->setVisible(panel == TDMUserParameterEdit::TPanel::Fraction);
    pnlDigits->setVisible(panel == TDMUserParameterEdit::TPanel::Digits);
    pnlCode->setVisible(panel == TDMUserParameterEdit::TPanel::Code);

    const TEditTexts texts = dm.StartTexts();
    lblRange->setText(dm.Range());
    edtValue->setText(texts.text);
    lblUnit->setText(dm.Unit());
    edtNumerator->setText(texts.numerator);
    edtDenominator->setText(texts.denominator);
    lblFractionUnit->setText(dm.Unit());

    lblHighName->setText(dm.HighName());
    lblLowName->setText(dm.LowName());
    // The digit lists have a short label ("1 H"), the code list a name.
    const int digitLabel = fm.horizontalAdvance(QStringLiteral("0 H")) + 16;
    cboHigh->SetLabelWidth(digitLabel);
    cboLow->SetLabelWidth(digitLabel);
    FillChoices(cboHigh, dm.NibbleChoices().high);
    FillChoices(cboLow, dm.NibbleChoices().low);
    int codeLabel = fm.horizontalAdvance(QStringLiteral("MMMMMM"));
    for (const TChoice &c : dm.TableChoices().items)
        codeLabel = std::max(codeLabel, fm.horizontalAdvance(c.label.section(u'\t', 0, 0)));
    cboTable->SetLabelWidth(codeLabel + 16);
    FillChoices(cboTable, dm.TableChoices());

    switch (panel) {
    case TDMUserParameterEdit::TPanel::Number:
        edtValue->setFocus();
        edtValue->selectAll();
        break;
    case TDMUserParameterEdit::TPanel::Fraction:
        edtNumerator->setFocus();
        edtNumerator->selectAll();
        break;
    case TDMUserParameterEdit::TPanel::Digits:
        cboHigh->setFocus();
        break;
    case TDMUserParameterEdit::TPanel::Code:
        cboTable->setFocus();
        break;
    }
}

TParseInput TFMUserParameterEdit::Input() const
{
    TParseInput in;
    in.text = edtValue->text();
    in.numerator = edtNumerator->text();
    in.denominator = edtDenominator->text();
    in.tableIndex = cboTable->currentIndex();
    in.highIndex = cboHigh->currentIndex();
    in.lowIndex = cboLow->currentIndex();
    return in;
}

void TFMUserParameterEdit::StepBox(QLineEdit *box, TStepDirection direction, bool fractionPart)
{
    const QString now = box->text();
    box->setText(fractionPart ? TDMUserParameterEdit::StepFractionPart(now, direction) : dm.Step(now, direction));
}

bool TFMUserParameterEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *box = qobject_cast<QLineEdit *>(watched);
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (box && text.size() == 1 && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const QChar c = text[0];
            const auto kind = box == edtValue ? TDMUserParameterEdit::TBox::Value
                                              : TDMUserParameterEdit::TBox::FractionPart;
            if (c.unicode() >= 0x20 && c.unicode() != 0x7F) {
                if (!dm.KeyAccepted(kind, c)) {
                    QApplication::beep();
                    return true;
                }
                if (c.isLower()) {
                    box->insert(c.toUpper());
                    return true;
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFMUserParameterEdit::accept()
{
    bool ok;
    {
        // A fraction condition runs the evaluator.
        THourglass hourglass;
        ok = dm.Confirm(Input());
    }
    if (ok)
        QDialog::accept();
}

bool TFMUserParameterEdit::Execute(TDMUserParameterEdit &module, QWidget *owner)
{
    TFMUserParameterEdit dialog(module, owner);
    return dialog.exec() == QDialog::Accepted;
}
