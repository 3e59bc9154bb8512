#include "settings/DisplaySettingsDialog.h"

#include "core/SettingsStore.h"
#include "settings/ColourPicker.h"
#include "settings/DisplayColours.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeView>

namespace stolvar {

namespace {

const keys::Key kColourKeys[6] = {keys::kColour1, keys::kColour2, keys::kColour3,
                                  keys::kColour4, keys::kColour5, keys::kColour6};

} // namespace

DisplaySettingsDialog::DisplaySettingsDialog(const SettingsStore& settings, const ColourTargets& shown, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_tableSize(new QLineEdit(this)), m_titleSize(new QLineEdit(this)),
      m_standardSize(new QLineEdit(this))
{
    setObjectName(QStringLiteral("设置"));
    setWindowTitle(QStringLiteral("设置"));
    for (size_t i = 0; i < m_pickers.size(); ++i) {
        m_pickers[i] = new ColourPicker(this);
        m_pickers[i]->setObjectName(QStringLiteral("颜色选择器%1").arg(i + 1));
    }
    m_tableSize->setObjectName(QStringLiteral("编辑框1"));
    m_titleSize->setObjectName(QStringLiteral("编辑框2"));
    m_standardSize->setObjectName(QStringLiteral("编辑框3"));
    buildLayout();
    connectStorage();
    loadCurrentValues(shown);
}

void DisplaySettingsDialog::buildLayout()
{
    auto* grid = new QGridLayout(this);
    auto row = [&](int r, const QString& left, QWidget* leftControl, const QString& right, QWidget* rightControl) {
        grid->addWidget(new QLabel(left, this), r, 0);
        grid->addWidget(leftControl, r, 1);
        if (rightControl) {
            grid->addWidget(new QLabel(right, this), r, 2);
            grid->addWidget(rightControl, r, 3);
        }
    };
    row(0, QStringLiteral("树形框背景色"), m_pickers[0], QStringLiteral("字体色"), m_pickers[5]);
    row(1, QStringLiteral("标同养提示背景色"), m_pickers[1], QStringLiteral("字体色"), m_pickers[4]);
    row(2, QStringLiteral("温度采集界面背景色"), m_pickers[2], QStringLiteral("字体色"), m_pickers[3]);
    row(3, QStringLiteral("同养记录表字号："), m_tableSize, QStringLiteral("标题字号"), m_titleSize);
    row(4, QStringLiteral("标养记录表字号："), m_standardSize, QString(), nullptr);
}

void DisplaySettingsDialog::connectStorage()
{
    for (size_t i = 0; i < m_pickers.size(); ++i) {
        connect(m_pickers[i], &ColourPicker::colourChanged, this, [this, i](const QColor& colour) {
            m_settings.write(kColourKeys[i], ColourToText(colour));
            emit coloursChanged();
        });
    }
    connect(m_tableSize, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_settings.write(keys::kTableFontSize, text);
        emit table1FontsChanged();
    });
    connect(m_titleSize, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_settings.write(keys::kTitleFontSize, text);
        emit table1FontsChanged();
    });
    connect(m_standardSize, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_settings.write(keys::kStandardFontSize, text); });
}

void DisplaySettingsDialog::loadCurrentValues(const ColourTargets& shown)
{
    // Filling the boxes counts as a change: the sizes are written back as they are.
    m_titleSize->setText(m_settings.read(keys::kTitleFontSize));
    m_tableSize->setText(m_settings.read(keys::kTableFontSize));
    m_standardSize->setText(m_settings.read(keys::kStandardFontSize));
    for (QLineEdit* box : {m_titleSize, m_tableSize, m_standardSize}) {
        if (box->text().isEmpty())
            emit box->textChanged(box->text());
    }
    // Showing the current colours is not a change.
    picker(1)->setColour(shown.tree->palette().color(QPalette::Base), false);
    picker(6)->setColour(shown.tree->palette().color(QPalette::Text), false);
    picker(2)->setColour(shown.reminderBoxes.value(0)->palette().color(QPalette::Base), false);
    picker(5)->setColour(shown.reminderBoxes.value(0)->palette().color(QPalette::Text), false);
    picker(3)->setColour(shown.dayLabels.value(0)->palette().color(QPalette::Window), false);
    picker(4)->setColour(shown.dayLabels.value(0)->palette().color(QPalette::WindowText), false);
}

} // namespace stolvar
