// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include "app/journal_export.h"

#include <algorithm>

namespace zenbalo {
namespace {

constexpr std::string_view kAbout = R"(使い方: zenbalo [オプション]

Zenbalo はパチンコの期待値計算ソフトです。機種のスペックと換金率・回転率から、
ボーダー回転率と1日の期待収支を計算します。機種は7つのグループに保存でき、
実戦結果の分析と初当たり回転数の表も表示します。オプションなしで起動すると
ウィンドウを開きます。

ファイルはデータディレクトリに置きます: $ZENBALO_DATA、設定がなければ
$XDG_DATA_HOME/zenbalo、それもなければ ~/.local/share/zenbalo です。
  zenbalo.dat   機種ライブラリ（zenbalo.dat.bak は一つ前のもの）
  zenbalo.cfg   選択と遊技条件
  zenbalo.kan   換金率の一覧（編集できます）
  log.txt       最新の計算結果
  bunseki.txt   実戦分析の記録
  zenbalo.db    収支記録（分析の保存と bunseki.txt から作ります）
  説明書.txt    取扱説明書
読めないファイルは上書きせず、NAME.damaged-日付-時刻 として残します。
)";

constexpr std::string_view kSeeAlso = "\n詳しくは man zenbalo をご覧ください。\n";

int printHelp(std::string_view, std::string &out, std::string &) {
    out += usageText(programOptions());
    return 0;
}

int printVersion(std::string_view, std::string &out, std::string &) {
    out.append("zenbalo ").append(ZENBALO_VERSION).append("\n");
    return 0;
}

constexpr Option kOptions[] = {
    {"--help", "", "この説明を表示して終了します", printHelp},
    {"--version", "", "バージョンを表示して終了します", printVersion},
    {"--export-journal", "FILE", "収支記録を CSV で書き出して終了します（- は標準出力）", exportJournalCommand},
};

int usageError(std::string &err, std::string_view what) {
    err.append("zenbalo: ").append(what).append("（使い方は zenbalo --help）\n");
    return 2;
}

std::string optionColumn(const Option &option) {
    std::string column(option.name);
    if (!option.argument.empty())
        column.append(" ").append(option.argument);
    return column;
}

} // namespace

std::span<const Option> programOptions() { return kOptions; }

std::optional<int> runCommandLine(std::span<const Option> options, std::span<const char *const> arguments,
                                  std::string &out, std::string &err) {
    if (arguments.empty())
        return std::nullopt;
    const std::string_view word = arguments[0];
    const size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    const auto option = std::find_if(options.begin(), options.end(), [&](const Option &o) { return o.name == name; });
    if (option == options.end()) {
        const std::string_view what = word.starts_with('-') ? "不明なオプションです: " : "余分な引数です: ";
        return usageError(err, std::string(what).append(word));
    }
    if (option->argument.empty()) {
        if (equals != std::string_view::npos)
            return usageError(err, std::string(name) + " は値をとりません: " + std::string(word));
        return option->run({}, out, err);
    }
    std::string_view value;
    if (equals != std::string_view::npos)
        value = word.substr(equals + 1);
    else if (arguments.size() > 1)
        value = arguments[1];
    if (value.empty())
        return usageError(err, std::string(name) + " のあとに " + std::string(option->argument) + " を指定してください");
    return option->run(value, out, err);
}

std::string usageText(std::span<const Option> options) {
    size_t width = 0;
    for (const Option &option : options)
        width = std::max(width, optionColumn(option).size());
    std::string text(kAbout);
    text += "\nオプション:\n";
    for (const Option &option : options) {
        const std::string column = optionColumn(option);
        text.append("  ").append(column).append(width - column.size() + 2, ' ').append(option.help).append("\n");
    }
    return text.append(kSeeAlso);
}

} // namespace zenbalo
