#pragma once

#include <QString>

// Sections and keys of Temp.ini. Each pair names one remembered value.
namespace stolvar::keys {

struct Key {
    const char16_t* section;
    const char16_t* key;
    QString sectionText() const { return QString::fromUtf16(section); }
    QString keyText() const { return QString::fromUtf16(key); }
};

inline constexpr Key kDatabaseFile{u"数据库文件名", u"文件名"};   // full path of the last database
inline constexpr Key kDatabaseFolder{u"数据库", u"路径"};         // start folder of the open dialog
inline constexpr Key kTreeSelection{u"树形框", u"选中位置"};       // nodeIndex of the selected node
inline constexpr Key kWeatherCity{u"天气配置", u"地区"};
inline constexpr Key kMailDay{u"邮件周期", u"状态"};              // FormatLongDate of the last mail day
inline constexpr Key kMailTime{u"邮件周期", u"时间"};             // when that mail was composed
inline constexpr Key kLeadDays{u"查询几天内到期试块", u"数值"};
inline constexpr Key kAutoCollect{u"选择框1配置", u"1状态"};
inline constexpr Key kAutoMail{u"选择框2配置", u"2状态"};
inline constexpr Key kAutoStart{u"选择框3配置", u"3状态"};
inline constexpr Key kCountFromCastingDay{u"单选框1配置", u"状态"};
inline constexpr Key kCountFromNextDay{u"单选框2配置", u"状态"};
inline constexpr Key kDesktopNotification{u"提醒配置", u"桌面通知"};   // "真" unless turned off
inline constexpr Key kStandardRule{u"同养计算", u"国标2015"};    // "真": count as GB 50204-2015
inline constexpr Key kConversionFactor{u"同养计算", u"折算系数"};  // same-condition strength factor, 1.10
inline constexpr Key kTitleFontSize{u"字号配置", u"标题字号"};
inline constexpr Key kTableFontSize{u"字号配置", u"表格字号"};
inline constexpr Key kStandardFontSize{u"字号配置", u"标养字号"};
inline constexpr Key kColour1{u"颜色配置", u"颜色1"};
inline constexpr Key kColour2{u"颜色配置", u"颜色2"};
inline constexpr Key kColour3{u"颜色配置", u"颜色3"};
inline constexpr Key kColour4{u"颜色配置", u"颜色4"};
inline constexpr Key kColour5{u"颜色配置", u"颜色5"};
inline constexpr Key kColour6{u"颜色配置", u"颜色6"};
// Addresses of the outside services and the mail domain.
inline constexpr Key kWeatherService{u"网络配置", u"天气服务地址"};
inline constexpr Key kProbeAddress{u"网络配置", u"联网检测地址"};
inline constexpr Key kVersionPage{u"网络配置", u"版本页面地址"};
// The source of the automatic temperatures: "预报页面" (the forecast page, the default)
// or "Open-Meteo" with its two services and an optional customer key.
inline constexpr Key kWeatherSource{u"网络配置", u"天气来源"};
inline constexpr Key kMeteoService{u"网络配置", u"Open-Meteo地址"};
inline constexpr Key kGeocodingService{u"网络配置", u"地理编码地址"};
inline constexpr Key kMeteoKey{u"网络配置", u"Open-Meteo密钥"};
// The Open-Meteo historical weather service the 30 years of the place's climate come from.
inline constexpr Key kClimateService{u"网络配置", u"气候数据地址"};
// The place the Open-Meteo search found for the city of kPlaceCity, kept until the city changes.
inline constexpr Key kPlaceCity{u"天气配置", u"坐标地区"};
inline constexpr Key kPlaceName{u"天气配置", u"地点名称"};
inline constexpr Key kPlaceProvince{u"天气配置", u"省份"};
inline constexpr Key kPlaceLatitude{u"天气配置", u"纬度"};
inline constexpr Key kPlaceLongitude{u"天气配置", u"经度"};
inline constexpr Key kPlaceTimezone{u"天气配置", u"时区"};
// The city whose climate was last stored in the register.
inline constexpr Key kClimateCity{u"天气配置", u"气候地区"};
// The automatic backups of the open register: where they go (a folder of the program
// folder by default; a USB stick or a network share will do), how many are kept, and
// whether they are made at all ("真" unless turned off).
inline constexpr Key kBackupFolder{u"备份配置", u"备份目录"};
inline constexpr Key kBackupKeep{u"备份配置", u"保留份数"};
inline constexpr Key kAutoBackup{u"备份配置", u"自动备份"};
inline constexpr Key kMailDomain{u"邮件配置", u"发信域名"};
inline constexpr Key kAllowSelfSigned{u"邮件配置", u"允许自签名证书"};
inline constexpr Key kRequireTls{u"邮件配置", u"要求加密"};
inline constexpr Key kMailSecurity{u"邮件配置", u"加密方式"};   // 自动, SSL, STARTTLS, 不加密

} // namespace stolvar::keys
