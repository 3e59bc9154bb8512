#include "app/About.h"

#include "core/Messages.h"

namespace stolvar {

QString AboutTitle()
{
    return QStringLiteral("关于");
}

QString AboutText()
{
    return ProgramTitle()
        + QStringLiteral("\n\n混凝土试块养护管理软件：登记试块、记录每日温度、计算同条件养护龄期并提醒送检。"
                         "\n\n本软件按“现状”提供，不附带任何明示或默示的担保。"
                         "因使用本软件或无法使用本软件而造成的任何损失，作者不承担责任。"
                         "试块送检日期请以现场实测温度为准。"
                         "\n\n技术支持：请通过软件发布页面留言反馈。");
}

void ShowAbout(QWidget* parent, Messages& messages)
{
    messages.show(parent, AboutText(), AboutTitle(), Messages::Icon::Information);
}

} // namespace stolvar
