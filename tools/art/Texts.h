// The texts of the program's pictures, Persian and English, in one place so
// that their wording can be read and checked. The zero-width non-joiner that
// Persian spelling needs (تاریخ‌ها, می‌شود) is written as \u200C to stay
// visible here.
#pragma once

#include <QString>

namespace halvane::art::texts
{

// Names and version.
inline const QString kTitle = QStringLiteral("Halvane Shamsi Dates");
inline const QString kTitleFa = QStringLiteral("تاریخ\u200Cهای شمسی هلوانه");
inline const QString kMaker = QStringLiteral("Halvane");
inline const QString kMakerFa = QStringLiteral("هلوانه");
inline const QString kVersion = QStringLiteral("Version 2.0 \u2014 Free");
inline const QString kVersionFa = QStringLiteral("نسخهٔ ۲٫۰ \u2014 رایگان");
// The About window shows the version in its logo: it has no label for it.
inline const QString kAboutVersion = QStringLiteral("Version 2.0");

// The main window's picture before the first run. It is shown at its own
// size, 167 x 90, so each line is short enough to be set at a readable size
// across the box; the guide button between them names the instructions.
inline const QString kPrepare = QStringLiteral("ابتدا آماده\u200Cسازی را انجام دهید");
inline const QString kOpenGuide = QStringLiteral("راهنما");
inline const QString kThenRun = QStringLiteral("سپس دکمهٔ Run را بزنید");

// The run pictures.
inline const QString kWait = QStringLiteral("لطفاً صبر کنید\u2026");
inline const QString kConverting = QStringLiteral("در حال تبدیل تاریخ\u200Cها");
inline const QString kConverted = QStringLiteral("تاریخ\u200Cها تبدیل شدند");
// U+2028 breaks the line where the sentence reads best.
inline const QString kImportBack =
    QStringLiteral("اکنون جدول را دوباره\u2028به پروژهٔ خود وارد کنید.");

// The instruction viewer's design page.
inline const QString kGreeting = QStringLiteral("کاربر گرامی، سلام!");
inline const QString kWelcome =
    QStringLiteral("برای افزودن تاریخ\u200Cهای شمسی به برنامهٔ زمان\u200Cبندی پروژه، "
                   "این چهار مرحله را به ترتیب انجام دهید:");
inline const QString kStep1Title = QStringLiteral("از پروژه نسخهٔ پشتیبان بگیرید");
inline const QString kStep1 =
    QStringLiteral("پیش از هر کاری، یک نسخهٔ پشتیبان از فایل پروژهٔ خود ذخیره کنید.");
inline const QString kStep2Title = QStringLiteral("تاریخ\u200Cها را به جدول dBASE بفرستید");
inline const QString kStep2 = QStringLiteral(
    "تاریخ\u200Cهای برنامهٔ زمان\u200Cبندی را با فرمان Export در جدول dBASE IV با نام "
    "Shamsi.dbf در ریشهٔ درایو C:\\ ذخیره کنید.");
inline const QString kStep3Title = QStringLiteral("دکمهٔ Run را بزنید");
inline const QString kStep3 =
    QStringLiteral("در پنجرهٔ اصلی همین برنامه Run را بزنید و تا پایان تبدیل صبر کنید.");
inline const QString kStep4Title = QStringLiteral("نتیجه را به پروژه برگردانید");
inline const QString kStep4 =
    QStringLiteral("با فرمان Import، تاریخ\u200Cهای شمسی جدول را به پروژه وارد کنید.");
inline const QString kTourHint =
    QStringLiteral("برای دیدن مراحل همراه با تصویر، دکمهٔ Visual Tour را بزنید.");

} // namespace halvane::art::texts
