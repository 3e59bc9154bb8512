#pragma once

#include <QDialog>

#include <array>

class QLineEdit;

namespace stolvar {

class ColourPicker;
struct ColourTargets;
class SettingsStore;

// "设置": six colours and three font sizes. Every change is stored at once; a colour
// change re-colours the main window, a change of the two table-1 sizes lays out its frame.
class DisplaySettingsDialog : public QDialog
{
    Q_OBJECT
public:
    DisplaySettingsDialog(const SettingsStore& settings, const ColourTargets& shown, QWidget* parent = nullptr);

    ColourPicker* picker(int number) const { return m_pickers[size_t(number - 1)]; }
    QLineEdit* tableSizeBox() const { return m_tableSize; }      // box 1, "表格字号"
    QLineEdit* titleSizeBox() const { return m_titleSize; }      // box 2, "标题字号"
    QLineEdit* standardSizeBox() const { return m_standardSize; } // box 3, "标养字号"

signals:
    void coloursChanged();
    void table1FontsChanged();

private:
    void buildLayout();
    void loadCurrentValues(const ColourTargets& shown);
    void connectStorage();

    const SettingsStore& m_settings;
    std::array<ColourPicker*, 6> m_pickers{};
    QLineEdit* m_tableSize;
    QLineEdit* m_titleSize;
    QLineEdit* m_standardSize;
};

} // namespace stolvar
