// Every text the editing rules show, in one place, so that the object editor
// and the Tree window's panel show the very same words.
#pragma once

#include <QStringView>

namespace korvel::RuleMessage {

// Messages of the field checks.
inline constexpr QStringView NameEmpty = u"オブジェクト名を入力してください。";
inline constexpr QStringView NameTooLong = u"名前は最大256文字までです。";
inline constexpr QStringView ObjectIdNotNumeric = u"オブジェクトIDは数値を入力してください。";
inline constexpr QStringView ObjectIdOutOfRange = u"オブジェクトIDは1～2147483647です。";
inline constexpr QStringView RangeNotNumeric = u"範囲指定は数値を入力してください。";
inline constexpr QStringView RangeTooLarge = u"範囲指定は最大4294967295までです。";
inline constexpr QStringView KeyOrderNotNumeric = u"テーブルキーの順位は数値を入力してください。";
inline constexpr QStringView KeyOrderOutOfRange = u"テーブルキーの順位は1～1000です。";

// Messages of the add and change rules.
inline constexpr QStringView ParentIsLeaf = u"オブジェクトの下に追加できません。";
inline constexpr QStringView ParentIsTable = u"テーブルの下に追加できません。エントリの下に追加してください。";
inline constexpr QStringView DuplicateName = u"オブジェクト名が重複しています。";
inline constexpr QStringView DuplicateObjectId = u"オブジェクトIDが重複しています。";
inline constexpr QStringView TableFull = u"これ以上登録できません";
inline constexpr QStringView KindChanged = u"オブジェクトの種類は変更できません。";
inline constexpr QStringView ObjectAdded = u"オブジェクトを追加しました。";
inline constexpr QStringView ObjectChanged = u"オブジェクトを変更しました。";
inline constexpr QStringView CommitFailed = u"設定に失敗しました";

// Messages of the item list and its boxes.
inline constexpr QStringView RangeAndList = u"範囲とリストは同時に指定できません。";
inline constexpr QStringView ItemNameEmpty = u"項目名を入力してください";
inline constexpr QStringView ItemValueEmpty = u"項目値を入力してください";
inline constexpr QStringView ItemValueNotNumeric = u"項目値は数値を入力してください。";
inline constexpr QStringView DuplicateItemName = u"リストの名前が重複しています。";
inline constexpr QStringView DuplicateItemValue = u"リストの値が重複しています。";
inline constexpr QStringView ItemAddFailed = u"リストの追加に失敗しました";
inline constexpr QStringView ItemNameNotChosen = u"項目名を選択してください";
inline constexpr QStringView ItemNotFound = u"このエントリは削除できません";
inline constexpr QStringView ItemRemoveFailed = u"リストの削除に失敗しました";

// Refusals that keep a design sound where the plain rules would damage it.
// A table's name gets "Table" appended and must still fit its field.
inline constexpr QStringView TableNameTooLong = u"テーブル名は最大250文字までです。";
// An enumeration needs at least one item to be a valid type.
inline constexpr QStringView EnumerationWithoutItems = u"リストの項目を追加してください。";
// A move under the object itself or below it would cut it off the tree.
inline constexpr QStringView ParentInOwnSubtree = u"自分自身または配下のオブジェクトを親にすることはできません。";
// An entry belongs to its table; without it the table has no row type.
inline constexpr QStringView EntryMoved = u"エントリはテーブルの下から移動できません。";

} // namespace korvel::RuleMessage
