#include "ui/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "engine/catalogue.h"
#include "engine/numbers.h"
#include "engine/rows.h"
#include "ui/artwork.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/localized.h"
#include "ui/maintexts.h"
#include "ui/windowlayout.h"
#include "ui/windows.h"
#include "ui/wrappingbutton.h"

namespace korval {
namespace {

constexpr int kLampColumnWidths[6] = {1370, 1540, 1560, 880, 1420, 1170};
// The report prints the logo larger than the screen shows it.
constexpr qreal kPrintedLogoScale = 4;

QPushButton *MakeButton(WindowLayout &layout, QWidget *parent, const char *name, const QRect &twips,
                        qreal pointSize, bool bold)
{
    auto *button = new WrappingButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    layout.Place(button, twips);
    layout.SetFont(button, pointSize, bold);
    return button;
}

ListView *MakeList(WindowLayout &layout, QWidget *parent, const char *name, const QRect &twips, ListModel *rows)
{
    auto *list = new ListView(parent);
    list->setModel(rows);
    list->setObjectName(QString::fromLatin1(name));
    layout.Place(list, twips);
    layout.SetFont(list, 9.75, false);
    return list;
}

QGroupBox *MakePowerFrame(WindowLayout &layout, QWidget *parent, const char *name, int top, QLineEdit *&text,
                          const char *textName)
{
    auto *frame = new QGroupBox(parent);
    frame->setObjectName(QString::fromLatin1(name));
    layout.Place(frame, {480, top, 1695, 615});
    text = new QLineEdit(frame);
    text->setObjectName(QString::fromLatin1(textName));
    layout.Place(text, {120, 240, 1455, 285});
    text->setReadOnly(true);
    text->setFocusPolicy(Qt::ClickFocus);
    return frame;
}

}  // namespace

Form1::Form1(State &state, MessageBoxes &messages, std::chrono::milliseconds printBound)
    : m_state(state), m_messages(messages), m_printer(new ReportPrinter(this, printBound))
{
    setObjectName(QStringLiteral("Form1"));

    m_layout = new WindowLayout(this, 10815, 8115);
    BuildControls();
    connect(m_layout, &WindowLayout::Rescaled, this, [this] {
        if (m_logoRatio > 0)
            DrawArtwork();
    });
    // Told in the language of the moment, which the user may have switched
    // while the job was on its way.
    connect(m_printer, &ReportPrinter::Ended, this, [this](const PrintResult &result) {
        if (const std::optional<QString> text = PrintMessage(result, m_state.Language))
            m_messages.Show(this, *text, MessageIcon::Warning);
        Command3->setFocus();
    });
    Load();
    new ActivationWatch(this, [this] { RefreshMainWindow(); });
}

void Form1::DrawArtwork()
{
    // Drawn for the screen the window is on, pixel for pixel, at the size
    // of the window's layout and on the window's own colours.
    const qreal ratio = devicePixelRatioF();
    const TwipScale &scale = m_layout->Scale();
    QPixmap logo =
        QPixmap::fromImage(KorvalLogo(std::min(scale.Horizontal(), scale.Vertical()) * ratio, palette()));
    logo.setDevicePixelRatio(ratio);
    Picture1->setPixmap(logo);
    // Every window of the program shows it.
    if (m_logoRatio == 0)
        QApplication::setWindowIcon(KorvalIcon());
    m_logoRatio = ratio;
}

void Form1::BuildControls()
{
    WindowLayout &layout = *m_layout;
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    layout.Place(Label1, {360, 360, 4455, 345});
    layout.SetFont(Label1, 12, true);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    layout.Place(Combo1, {5160, 360, 1695, 315});
    Combo1->addItems({QStringLiteral("Italiano"), QStringLiteral("English")});

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    layout.Place(Picture1, {7080, 0, 3800, 1100});
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Command3 = MakeButton(layout, this, "Command3", {480, 1320, 1695, 735}, 12, true);
    Command4 = MakeButton(layout, this, "Command4", {480, 2280, 1695, 735}, 12, true);
    Frame1 = MakePowerFrame(layout, this, "Frame1", 3240, Text1, "Text1");
    Frame2 = MakePowerFrame(layout, this, "Frame2", 3840, Text2, "Text2");
    Command5 = MakeButton(layout, this, "Command5", {480, 5280, 1695, 735}, 13.5, false);
    Command2 = MakeButton(layout, this, "Command2", {480, 6240, 1695, 735}, 13.5, false);
    Command2->setEnabled(false);
    Command1 = MakeButton(layout, this, "Command1", {480, 7440, 1695, 495}, 9.75, true);

    m_lampRows = new ListModel(6, this);
    m_resultRows = new ListModel(6, this);
    ListView1 = MakeList(layout, this, "ListView1", {2640, 1320, 8055, 3135}, m_lampRows);
    for (int c = 1; c <= 6; ++c)
        ListView1->SetColumnWidthTwips(c, kLampColumnWidths[c - 1]);
    ListView2 = MakeList(layout, this, "ListView2", {2640, 4680, 8055, 3255}, m_resultRows);
    m_resultRows->SetColumnAlignment(6, Qt::AlignHCenter | Qt::AlignVCenter);

    QWidget *order[] = {Combo1, Command3, Command4, Command5, Command2, Command1, ListView1, ListView2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(Command3, &QPushButton::clicked, this, &Form1::AddLamps);
    connect(Command4, &QPushButton::clicked, this, &Form1::EraseAllRows);
    connect(Command5, &QPushButton::clicked, this, &Form1::RunCalculation);
    connect(Command2, &QPushButton::clicked, this, &Form1::PrintReport);
    connect(Command1, &QPushButton::clicked, this, &Form1::ShowPriceList);
    connect(ListView1, &ListView::RowClicked, this, &Form1::EditRow);
}

void Form1::Load()
{
    setWindowTitle(QString::fromUtf8(maintexts::Caption));
    CreateCatalogues(m_state);
    // Every pick of the user applies the language, the one already shown too
    // (and so resets the result columns); the program's own first selection
    // applies it as well.
    connect(Combo1, &QComboBox::activated, this, &Form1::ApplyLanguage);
    Combo1->setCurrentIndex(0);
    ApplyLanguage();
    m_state.BestCost = kNoCombinationCost;
    m_state.BestCombination.clear();
}

void Form1::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // The artwork waits until the window is on screen: drawing it takes
    // longer than everything else the window needs to appear. A window that
    // went to a screen of another resolution draws it anew.
    if (m_logoRatio != devicePixelRatioF())
        QTimer::singleShot(0, this, &Form1::DrawArtwork);
}

void Form1::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_logoRatio > 0)
        DrawArtwork();
}

Notify Form1::Notifier()
{
    return [this](const std::string &text, MessageIcon icon) {
        m_messages.Show(this, QString::fromStdString(text), icon);
    };
}

RequiredPower Form1::ShowRequiredPower()
{
    const RequiredPower power = ComputeRequiredPower(m_state, Notifier());
    Frame1->setEnabled(true);
    Frame2->setEnabled(true);
    Text1->setText(QString::fromStdString(WattsText(power.OneHour)));
    Text2->setText(QString::fromStdString(WattsText(power.ThreeHours)));
    return power;
}

void Form1::RefreshMainWindow()
{
    m_state.EditIndex = 0;
    ListView1->setEnabled(true);
    const char separator = LocaleDecimalSeparator();
    std::vector<ListRow> lamps;
    for (const LampRecord &row : ReadRows(m_state))
        lamps.push_back(LampListRow(row, m_state.Language, separator));
    m_lampRows->SetRows(lamps);

    if (RowCount(m_state) < 1) {
        Command4->setEnabled(false);
        Command5->setEnabled(false);
        Command2->setEnabled(false);
        Text1->clear();
        Text2->clear();
        Frame1->setEnabled(false);
        Frame2->setEnabled(false);
        // "Aggiungi Lampade" stays disabled after a calculation that stopped
        // early; the language box then takes the focus.
        if (Command3->isEnabled())
            Command3->setFocus();
        else
            Combo1->setFocus();
        return;
    }
    Command4->setEnabled(true);
    Command5->setEnabled(true);
    ShowRequiredPower();
    Command5->setFocus();
}

void Form1::ApplyLanguage()
{
    const int entry = Combo1->currentIndex();
    if (entry == 0 || entry == 1) {
        m_state.Language = entry == 0 ? Language::Italian : Language::English;
        const Language language = m_state.Language;
        m_qtTexts.Use(language);
        Label1->setText(Localized(maintexts::Heading, language));
        Command1->setText(Localized(maintexts::PriceListButton, language));
        Command3->setText(Localized(maintexts::AddButton, language));
        Command4->setText(Localized(maintexts::EraseAllButton, language));
        Command5->setText(Localized(maintexts::CalculateButton, language));
        Command2->setText(Localized(maintexts::PrintButton, language));
        Frame1->setTitle(Localized(maintexts::Power1hFrame, language));
        Frame2->setTitle(Localized(maintexts::Power3hFrame, language));
        NameForScreenReaders(language);
        for (int c = 1; c <= 6; ++c) {
            m_lampRows->SetColumnCaption(c, Localized(maintexts::LampColumns[c - 1], language));
            m_resultRows->SetColumnCaption(c, Localized(maintexts::ResultColumns[c - 1], language));
        }
    }
    for (int c = 1; c <= 6; ++c)
        ListView2->SetColumnWidthTwips(c, c <= 4 ? 2000 : 0);
    m_layout->FitTexts();
    FillCatalogues(m_state);
}

void Form1::NameForScreenReaders(Language language)
{
    // Linux screen readers read a drop-down list by its current entry.
    Combo1->setAccessibleName(Localized(maintexts::LanguageBox, language));
    Combo1->setAccessibleDescription(Localized(maintexts::LanguageBox, language));
    Picture1->setAccessibleName(QStringLiteral("KORVAL"));
    Text1->setAccessibleName(Frame1->title().trimmed());
    Text2->setAccessibleName(Frame2->title().trimmed());
    for (QLineEdit *power : {Text1, Text2})
        power->setAccessibleDescription(Localized(maintexts::PowerHelp, language));
    ListView1->setAccessibleName(Localized(maintexts::LampList, language));
    ListView1->setAccessibleDescription(Localized(maintexts::LampListHelp, language));
    ListView2->setAccessibleName(Localized(maintexts::ResultsHeading, language));
}

void Form1::AddLamps()
{
    m_state.EditIndex = 0;
    ShowLampDialog();
}

void Form1::EditRow(int row)
{
    ListView1->setEnabled(false);
    m_state.EditIndex = static_cast<std::uint8_t>(row);
    ShowLampDialog();
}

void Form1::ShowLampDialog()
{
    ShowSingle(m_form2, [this] { return new Form2(m_state, m_messages, this); });
}

void Form1::ShowPriceList()
{
    ShowSingle(m_form3, [this] { return new Form3(m_state, this); });
}

void Form1::EraseAllRows()
{
    if (m_messages.AskYesNo(this, Localized(maintexts::EraseAllQuestion, m_state.Language))) {
        m_lampRows->ClearRows();
        m_resultRows->ClearRows();
        EraseAll(m_state);
    }
    RefreshMainWindow();
}

void Form1::RunCalculation()
{
    Command5->setEnabled(false);
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    Command4->setEnabled(false);
    m_resultRows->ClearRows();

    // The powers are on screen before any search can report a message.
    const RequiredPower power = ShowRequiredPower();
    const CalculationRows result =
        CalculateRows(m_state, power, Notifier(), [this](const ListRow &row) { m_resultRows->AddRow(row); });
    Command5->setEnabled(true);
    if (!result.Finished)
        return;
    Command2->setEnabled(true);
    Command3->setEnabled(true);
    Command4->setEnabled(true);
    Command2->setFocus();
}

ReportContent Form1::CollectReport() const
{
    ReportContent content;
    content.Language = m_state.Language;
    content.Logo = KorvalLogo(kPrintedLogoScale);
    content.Lamps = ReportTableOf(*m_lampRows);
    content.Power1h = Text1->text();
    content.Power3h = Text2->text();
    content.Results = ReportTableOf(*m_resultRows);
    return content;
}

void Form1::PrintReport()
{
    if (!m_printer->Busy())
        m_printer->Print(CollectReport());
}

std::optional<QString> PrintMessage(const PrintResult &result, Language language)
{
    // The program says in its own words what kind of failure it was; the
    // print service's words, in whatever language it speaks, follow apart.
    const Bilingual *reason = &maintexts::PrintJobLost;
    switch (result.Outcome) {
    case PrintOutcome::Printed:
    case PrintOutcome::Cancelled:
        return std::nullopt;
    case PrintOutcome::NoPrinter:
        return Localized(maintexts::NoPrinter, language);
    case PrintOutcome::Unreachable:
        reason = &maintexts::PrintServiceUnreachable;
        break;
    case PrintOutcome::NoAnswer:
        reason = &maintexts::PrintServiceSilent;
        break;
    case PrintOutcome::Refused:
        reason = &maintexts::PrintJobRefused;
        break;
    case PrintOutcome::Failed:
        break;
    }
    QString text = Localized(maintexts::PrintFailed, language) + QLatin1Char('\n') + Localized(*reason, language);
    if (!result.Detail.isEmpty())
        text += QLatin1Char('\n') + result.Detail;
    return text;
}

}  // namespace korval
