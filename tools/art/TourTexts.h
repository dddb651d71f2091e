// The Persian texts of the fifteen tour pages (1.BMP to 15.BMP): a title and
// a paragraph each. Together they walk a new user through one whole cycle of
// work. U+200C is the zero-width non-joiner of Persian spelling; Latin runs
// (C:\Shamsi.dbf, field names) are set left to right by the text drawing.
// A page that quotes the text of another picture takes it from Texts.h, so
// the quote always reads as the picture does.
#pragma once

#include "tools/art/Texts.h"

#include <QString>

namespace halvane::art::tour
{

struct PageText {
    QString title;
    QString body;
};

inline const PageText kPages[15] = {
    // 1. The cycle at a glance.
    {QStringLiteral("چرخهٔ کار در چهار گام"),
     QStringLiteral("این راهنما در پانزده صفحه کار با برنامه را از آغاز تا پایان نشان می\u200Cدهد. "
                    "هر بار که تاریخ\u200Cهای برنامهٔ زمان\u200Cبندی تغییر می\u200Cکند، همین چهار "
                    "گام را تکرار کنید. با دکمهٔ Next>> به صفحهٔ بعد بروید.")},
    // 2. Backup.
    {QStringLiteral("گام ۱: نسخهٔ پشتیبان از پروژه"),
     QStringLiteral("پیش از هر کاری، پروژه را ببندید و از فایل آن یک کپی در پوشه\u200Cای دیگر "
                    "بگذارید. اگر هنگام برگرداندن نتیجه به پروژه اشتباهی پیش آمد، پروژه را از "
                    "همین کپی بازمی\u200Cگردانید.")},
    // 3. The eight fields: what goes in, what comes out.
    {QStringLiteral("جدول Shamsi: چهار تاریخ، چهار ستون شمسی"),
     QStringLiteral("برنامه در هر ردیف جدول چهار تاریخ میلادی را می\u200Cخواند و تاریخ شمسی هر "
                    "یک را در ستون متنی روبه\u200Cرویش می\u200Cنویسد: ES در SHES، EF در SHEF، "
                    "ES_T1 در SHTS و EF_T1 در SHTF. ستون\u200Cهای دیگر جدول دست نمی\u200Cخورند.")},
    // 4. Field types.
    {QStringLiteral("ساختار جدول: هشت ستون لازم"),
     QStringLiteral("این هشت ستون باید با همین نام\u200Cها در جدول باشند: چهار ستون تاریخ (Date) "
                    "و چهار ستون متنی (Character) به طول ۱۰ نویسه. تاریخ خالی اشکالی ندارد؛ "
                    "ستون شمسی آن یک فاصله می\u200Cگیرد. ستون\u200Cهای دیگر، مانند شناسهٔ "
                    "فعالیت، هم می\u200Cتوانند در جدول باشند.")},
    // 5. Export: format, name and place.
    {QStringLiteral("گام ۲: ذخیرهٔ جدول با قالب dBASE IV"),
     QStringLiteral("در نرم\u200Cافزار مدیریت پروژه فرمان Save As یا Export را بزنید، قالب "
                    "dBASE IV را برگزینید و جدول را با نام Shamsi.dbf در ریشهٔ درایو "
                    "C:\\ ذخیره کنید. برنامه جدول را فقط در C:\\Shamsi.dbf "
                    "می\u200Cجوید؛ نه در پوشه\u200Cای دیگر و نه با نامی دیگر.")},
    // 6. The export map.
    {QStringLiteral("نقشهٔ ستون\u200Cها هنگام فرستادن"),
     QStringLiteral("در نقشهٔ ستون\u200Cها (Export Map) تاریخ\u200Cهای فعالیت را به ES، EF، "
                    "ES_T1 و EF_T1 و چهار ستون متنی خالی پروژه را به SHES، SHEF، SHTS و SHTF "
                    "بفرستید. شناسهٔ یکتای فعالیت را هم بفرستید تا هنگام برگرداندن، هر ردیف به "
                    "فعالیت خودش برسد. نقشه را ذخیره کنید تا دفعهٔ بعد آماده باشد.")},
    // 7. Starting the program.
    {QStringLiteral("گام ۳: اجرای برنامه"),
     QStringLiteral("برنامه را اجرا کنید. در پنجرهٔ آغاز دکمهٔ OK را بزنید تا پنجرهٔ اصلی "
                    "باز شود. دکمهٔ About نام برنامه، نسخهٔ آن و نشانی سازنده را نشان "
                    "می\u200Cدهد.")},
    // 8. The main window.
    {QStringLiteral("پنجرهٔ اصلی"),
     QStringLiteral("Run تبدیل را آغاز می\u200Cکند و Exit برنامه را می\u200Cبندد. کلیک روی «") +
         texts::kOpenGuide +
         QStringLiteral("» همین راهنما را باز می\u200Cکند. پیش از زدن Run مطمئن شوید که جدول "
                        "C:\\Shamsi.dbf آماده است و در برنامهٔ دیگری باز نیست.")},
    // 9. While the run works.
    {QStringLiteral("هنگام تبدیل"),
     QStringLiteral("پس از زدن Run تصویر «") + texts::kWait +
         QStringLiteral("» نمایان می\u200Cشود. برنامه ردیف\u200Cبه\u200Cردیف تاریخ\u200Cها را "
                        "تبدیل و در جدول ذخیره می\u200Cکند و تا پایان کار به کلیک پاسخ "
                        "نمی\u200Cدهد. پنجره را نبندید.")},
    // 10. Success.
    {QStringLiteral("تبدیل انجام شد"),
     QStringLiteral("با دیدن «") + texts::kConverted +
         QStringLiteral("» ستون\u200Cهای شمسی همهٔ ردیف\u200Cها پر شده است. برنامه را با Exit "
                        "ببندید و جدول را به پروژه برگردانید (گام ۴). زدن دوبارهٔ Run کار را "
                        "از نو و با همان نتیجه انجام می\u200Cدهد.")},
    // 11. Message: no table.
    {QStringLiteral("پیام «Shamsi.dbf file not found»"),
     QStringLiteral("یعنی برنامه جدول را در C:\\Shamsi.dbf پیدا نکرد. پس از OK "
                    "برنامه بسته می\u200Cشود و چیزی تغییر نمی\u200Cکند. جدول را با همین نام در "
                    "ریشهٔ درایو C:\\ ذخیره کنید (گام ۲) و برنامه را دوباره اجرا "
                    "کنید.")},
    // 12. Message: a date outside the supported years.
    {QStringLiteral("پیام «Date Not Found»"),
     QStringLiteral("برنامه تاریخ\u200Cهای سال\u200Cهای ۱۹۸۰ تا ۲۰۲۳ میلادی را تبدیل می\u200Cکند. "
                    "برای هر تاریخ بیرون از این بازه پیام «Unable to Calculate Shamsi Dates» "
                    "یک بار نمایش داده می\u200Cشود و ستون شمسی آن خالی می\u200Cماند. با OK کار "
                    "ادامه می\u200Cیابد؛ پس از پایان، تاریخ آن فعالیت\u200Cها را بررسی کنید. "
                    "برای تاریخ\u200Cهای ۱۸۰۰ تا ۲۱۲۳ میلادی برنامه را از میانبر «Halvane "
                    "Shamsi Dates (exact calendar)\u200E» یا با \u200Eqrx2.exe\u00A0/exact\u200E اجرا کنید تا با "
                    "تقویم دقیق تبدیل شوند.")},
    // 13. Message: any other failure.
    {QStringLiteral("پیام «Unexpected Error»"),
     QStringLiteral("هر خطای دیگر با پیام «Unexpected Error» و شرح خطا گزارش می\u200Cشود و پس از "
                    "OK برنامه بسته می\u200Cشود. علت\u200Cهای رایج: نبودن یکی از هشت ستون، باز "
                    "بودن جدول در برنامه\u200Cای دیگر یا فقط\u200Cخواندنی بودن فایل. ردیف\u200Cهای "
                    "پیش از خطا تبدیل شده\u200Cاند؛ مشکل را برطرف کنید و دوباره Run را بزنید.")},
    // 14. Import back.
    {QStringLiteral("گام ۴: برگرداندن نتیجه به پروژه"),
     QStringLiteral("در نرم\u200Cافزار مدیریت پروژه جدول C:\\Shamsi.dbf را با فرمان "
                    "Import باز کنید و ادغام در پروژهٔ باز (Merge) را برگزینید. شناسهٔ یکتا را "
                    "کلید ادغام بگذارید و SHES، SHEF، SHTS و SHTF را به همان چهار ستون متنی "
                    "برگردانید.")},
    // 15. Checking the result.
    {QStringLiteral("بررسی نتیجه"),
     QStringLiteral("ستون\u200Cهای متنی پروژه اکنون تاریخ شمسی را نشان می\u200Cدهند: دو رقم "
                    "آخر سال، سپس ماه و روز؛ 02/01/01 یعنی ۱ فروردین ۱۴۰۲. چند فعالیت را با "
                    "تقویم بسنجید و نسخهٔ پشتیبان را تا پایان بررسی نگه دارید.")},
};

} // namespace halvane::art::tour
