#pragma once

// The navigator bar above the log grid, shared by the code that builds it
// and the code that answers its buttons.

#include <iterator>

// The buttons, in their order on the bar.
enum NavigatorButton
{
    NavFirst,
    NavPrior,
    NavNext,
    NavLast,
    NavInsert,
    NavDelete,
    NavEdit,
    NavPost,
    NavCancel,
    NavRefresh,
};

struct NavigatorEntry
{
    const char* symbol;
    const char* hint;
};

inline constexpr NavigatorEntry NavigatorEntries[] = {
    {"|◀", "先頭レコード"},  {"◀", "前のレコード"},   {"▶", "次のレコード"},
    {"▶|", "最終レコード"},  {"+", "レコードの挿入"}, {"−", "レコードの削除"},
    {"▲", "レコードの編集"}, {"✓", "編集の確定"},     {"✕", "編集のキャンセル"},
    {"↻", "データの更新"},
};
static_assert(std::size(NavigatorEntries) == NavRefresh + 1, "one entry a button");
