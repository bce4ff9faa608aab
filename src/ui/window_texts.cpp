#include "ui/window_texts.h"

#include <QStringList>

namespace sumora {
namespace {

QStringList Examples() {
  return {
      QStringLiteral("平方：2^2 "),
      QStringLiteral("平方根：sqrt(4) "),
      QStringLiteral("绝对值：abs(-2)"),
      QStringLiteral("ＬＯＧ：log(8)"),
      QStringLiteral("指数函数：exp(2)"),
      QStringLiteral("三角函数：tan(2)+sin(2)+cos(2)"),
      QStringLiteral("反三角函数：asin(2) + atan(2)+ acos(2)"),
  };
}

}  // namespace

QString ScientificHelpText() {
  QStringList lines{QStringLiteral("是否支持科学计算")};
  lines.append(Examples());
  return lines.join(QStringLiteral("\r\n"));
}

QString AboutText() {
  QStringList lines{
      QStringLiteral(" Sumora v1.8（161105）"),
      QStringLiteral("© 2012 Sumora 团队"),
      QStringLiteral("sumora.example  |  hello@sumora.example"),
      QStringLiteral("科学计算示例"),
  };
  lines.append(Examples());
  return lines.join(QStringLiteral("\r\n"));
}

}  // namespace sumora
