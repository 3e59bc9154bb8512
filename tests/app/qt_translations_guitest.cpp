#include "app/QtTranslations.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTranslator>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

// Installs Qt's Chinese texts for one test and takes them away again, so that the other
// tests of this executable see Qt as it starts.
class QtTranslationsTest : public ::testing::Test
{
protected:
    QtTranslationsTest() : translator(InstallQtTranslations(*QCoreApplication::instance())) {}
    ~QtTranslationsTest() override
    {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }

    QTranslator* translator;
};

// "是(&Y)" reads "是" with its mnemonic underlined.
QString Caption(const QAbstractButton* button)
{
    return button->text().remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
}

QStringList LabelTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

TEST_F(QtTranslationsTest, StandardButtonsAndDialogsSpeakChinese)
{
    ASSERT_NE(translator, nullptr) << "qtbase_zh_CN.qm not found (package qt6-translations-l10n)";
    QMessageBox box(QMessageBox::Question, QStringLiteral("信息："), QStringLiteral("确定删除吗？"),
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(Caption(box.button(QMessageBox::Ok)), QStringLiteral("确定"));
    EXPECT_EQ(Caption(box.button(QMessageBox::Cancel)), QStringLiteral("取消"));
    EXPECT_EQ(Caption(box.button(QMessageBox::Yes)), QStringLiteral("是"));
    EXPECT_EQ(Caption(box.button(QMessageBox::No)), QStringLiteral("否"));

    // Qt's own dialogs, not the desktop's: their captions come from the same catalogue.
    QFileDialog files(nullptr, QStringLiteral("打开"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_TRUE(LabelTexts(files).contains(QStringLiteral("文件名称(&N)："))) << LabelTexts(files).join(u'|').toStdString();
    QColorDialog colours;
    colours.setOption(QColorDialog::DontUseNativeDialog);
    EXPECT_TRUE(LabelTexts(colours).contains(QStringLiteral("基本颜色(&B)"))) << LabelTexts(colours).join(u'|').toStdString();
}

} // namespace
} // namespace stolvar
