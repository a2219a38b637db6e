#include "i18n/LanguageRes.h"

#include <array>
#include <atomic>

namespace kyvane {

namespace {

const char16_t* const kEnglish[kKeysPerLanguage] = {
    u"Kyvane", // 0
    u"TODAY FILES", // 1
    u"Backup TODAY", // 2
    u"Backup in 5 DAYS", // 3
    u"Backup by DATE", // 4
    u"Backup Manually", // 5
    u"Settings", // 6
    u"View Queue", // 7
    u"General Settings", // 8
    u"Add Server", // 9
    u"Select All", // 10
    u"Select None", // 11
    u"Start Backup", // 12
    u"Stop Backup", // 13
    u"Delete selected", // 14
    u"Server IP Address", // 15
    u"Server Port", // 16
    u"Account", // 17
    u"Password", // 18
    u"Delete Server", // 19
    u"OK", // 20
    u"Cancel", // 21
    u"Select Files", // 22
    u"Which Folders to backup", // 23
    u"Which File Ext to backup", // 24
    u"Add", // 25
    u"Delete", // 26
    u"From", // 27
    u"To", // 28
    u"Input File Ext (Ex: bmp)", // 29
    u"Language", // 30
    u"Are you sure?", // 31
    u"(Input new password or leave it empty)", // 32
    u"English", // 33
    u"Are you sure to close KYV?", // 34
    u"Helo Failed", // 35
    u"Login Failed", // 36
    u"Unable to connect to server", // 37
    u"Backup OK", // 38
    u"Backup Failed", // 39
    u"existed, Backup Skipped", // 40
    u"cancelled", // 41
    u"Please add a server first", // 42
    u"Please add a backup folder first", // 43
    u"Log", // 44
    u"Are you sure to exit?", // 45
};

const char16_t* const kTraditional[kKeysPerLanguage] = {
    u"凱維安", // 0
    u"今日檔案", // 1
    u"備份今日檔案", // 2
    u"備份五日內檔案", // 3
    u"備份日期區間檔案", // 4
    u"備份自選檔案", // 5
    u"設定", // 6
    u"檢視佇列", // 7
    u"一般設定", // 8
    u"新增伺服器", // 9
    u"全選", // 10
    u"全不選", // 11
    u"開始備份", // 12
    u"停止備份", // 13
    u"刪除選取項目", // 14
    u"伺服器位置", // 15
    u"伺服器埠號", // 16
    u"帳號", // 17
    u"密碼", // 18
    u"刪除此伺服器", // 19
    u"確定", // 20
    u"取消", // 21
    u"選擇檔案", // 22
    u"哪些目錄需要備份", // 23
    u"哪些副檔名需要備份", // 24
    u"新增", // 25
    u"刪除", // 26
    u"從", // 27
    u"到", // 28
    u"請輸入副檔名 (例: bmp)", // 29
    u"語言", // 30
    u"確定刪除此伺服器設定?", // 31
    u"(輸入新密碼或留空白不變更)", // 32
    u"繁體中文", // 33
    u"確定關閉凱維安?", // 34
    u"應用程式驗證失敗", // 35
    u"登入失敗", // 36
    u"無法連到伺服器", // 37
    u"備份完成", // 38
    u"備份失敗", // 39
    u"已存在，跳過備份", // 40
    u"取消備份", // 41
    u"請先增加一個伺服器設定", // 42
    u"請先增加一個備份目錄", // 43
    u"記錄", // 44
    u"確定要關閉程式嗎?", // 45
};

const char16_t* const kSimplified[kKeysPerLanguage] = {
    u"凯维安", // 0
    u"今日档案", // 1
    u"备份今日档案", // 2
    u"备份五日内档案", // 3
    u"备份日期范围档案", // 4
    u"备份自选档案", // 5
    u"设定", // 6
    u"检视伫列", // 7
    u"一般设定", // 8
    u"新增伺服器", // 9
    u"全选", // 10
    u"全不选", // 11
    u"开始备份", // 12
    u"停止备份", // 13
    u"删除选取项目", // 14
    u"伺服器位置", // 15
    u"伺服器埠号", // 16
    u"帐号", // 17
    u"密码", // 18
    u"删除此伺服器", // 19
    u"确定", // 20
    u"取消", // 21
    u"选择档案", // 22
    u"哪些目录需要备份", // 23
    u"哪些副档名需要备份", // 24
    u"新增", // 25
    u"删除", // 26
    u"从", // 27
    u"到", // 28
    u"请输入副档名 (例: pdf)", // 29
    u"语言", // 30
    u"确定删除此伺服器设定?", // 31
    u"(输入新密码或留空白不变更)", // 32
    u"简体中文", // 33
    u"确定关闭凯维安?", // 34
    u"应用程式验证失败", // 35
    u"登入失败", // 36
    u"无法连到伺服器", // 37
    u"备份完成", // 38
    u"备份失败", // 39
    u"已存在，跳过备份", // 40
    u"取消备份", // 41
    u"请先增加一个伺服器设定", // 42
    u"请先增加一个备份目录", // 43
    u"记录", // 44
    u"确定要关闭程式吗?", // 45
};
using LanguageTable = std::array<QString, kLanguageSlots>;

const LanguageTable& table()
{
    // Built once, on first use, by whichever thread comes first; C++ makes
    // that safe, so the table is complete before anyone reads it.
    static const LanguageTable filled = [] {
        LanguageTable texts; // every slot starts as the empty string
        const char16_t* const* blocks[] = {kEnglish, kTraditional, kSimplified};
        for (int block = 0; block < 3; ++block)
            for (int key = 0; key < kKeysPerLanguage; ++key)
                texts[block * 100 + key] = QString::fromUtf16(blocks[block][key]);
        return texts;
    }();
    return filled;
}

std::atomic<int> g_currentLanguage{kLanguageEnglish};

bool isLanguageCode(int code)
{
    return code == kLanguageEnglish || code == kLanguageTraditionalChinese ||
           code == kLanguageSimplifiedChinese;
}

} // namespace

void InitLanguageTable() { (void)table(); }

QString languageSlot(int index)
{
    if (index < 0 || index >= kLanguageSlots)
        return QString();
    return table()[static_cast<size_t>(index)];
}

QString langText(int key)
{
    if (key < 0 || key >= 100)
        return QString();
    return languageSlot(g_currentLanguage.load() + key);
}

int currentLanguage() { return g_currentLanguage.load(); }

void setCurrentLanguage(int code)
{
    g_currentLanguage.store(isLanguageCode(code) ? code : kLanguageEnglish);
}

int languageCodeFromText(const QString& text)
{
    bool ok = false;
    const int code = text.trimmed().toInt(&ok, 10);
    return ok && isLanguageCode(code) ? code : kLanguageEnglish;
}

} // namespace kyvane
