<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- The English texts of the program, one message a line, keyed by the
     Japanese text the program is written with (less its leading white
     space). translations/untranslated.pl lists the texts still missing. -->
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
<name>Korvel</name>
<message><source>オブジェクト名を入力してください。</source><translation>Enter the object name.</translation></message>
<message><source>名前は最大256文字までです。</source><translation>A name is at most 256 characters.</translation></message>
<message><source>オブジェクトIDは数値を入力してください。</source><translation>Enter a number as the object ID.</translation></message>
<message><source>オブジェクトIDは1～2147483647です。</source><translation>The object ID is 1 to 2147483647.</translation></message>
<message><source>範囲指定は数値を入力してください。</source><translation>Enter numbers for the range.</translation></message>
<message><source>範囲指定は最大4294967295までです。</source><translation>The range goes up to 4294967295 at most.</translation></message>
<message><source>テーブルキーの順位は数値を入力してください。</source><translation>Enter a number as the table key position.</translation></message>
<message><source>テーブルキーの順位は1～1000です。</source><translation>The table key position is 1 to 1000.</translation></message>
<message><source>オブジェクトの下に追加できません。</source><translation>Nothing can be added below this object.</translation></message>
<message><source>テーブルの下に追加できません。エントリの下に追加してください。</source><translation>Nothing can be added below a table. Add below its entry.</translation></message>
<message><source>オブジェクト名が重複しています。</source><translation>The object name is already used.</translation></message>
<message><source>オブジェクトIDが重複しています。</source><translation>The object ID is already used.</translation></message>
<message><source>これ以上登録できません</source><translation>No more objects can be registered</translation></message>
<message><source>オブジェクトの種類は変更できません。</source><translation>The kind of an object cannot be changed.</translation></message>
<message><source>オブジェクトを追加しました。</source><translation>The object was added.</translation></message>
<message><source>オブジェクトを変更しました。</source><translation>The object was changed.</translation></message>
<message><source>設定に失敗しました</source><translation>Setting failed</translation></message>
<message><source>範囲とリストは同時に指定できません。</source><translation>A range and a list cannot be given together.</translation></message>
<message><source>項目名を入力してください</source><translation>Enter the item name</translation></message>
<message><source>項目値を入力してください</source><translation>Enter the item value</translation></message>
<message><source>項目値は数値を入力してください。</source><translation>Enter a number as the item value.</translation></message>
<message><source>リストの名前が重複しています。</source><translation>The item name is already in the list.</translation></message>
<message><source>リストの値が重複しています。</source><translation>The item value is already in the list.</translation></message>
<message><source>リストの追加に失敗しました</source><translation>Adding to the list failed</translation></message>
<message><source>項目名を選択してください</source><translation>Choose an item name</translation></message>
<message><source>このエントリは削除できません</source><translation>This item cannot be removed</translation></message>
<message><source>リストの削除に失敗しました</source><translation>Removing from the list failed</translation></message>
<message><source>テーブル名は最大250文字までです。</source><translation>A table name is at most 250 characters.</translation></message>
<message><source>リストの項目を追加してください。</source><translation>Add items to the list.</translation></message>
<message><source>自分自身または配下のオブジェクトを親にすることはできません。</source><translation>An object cannot be its own parent or be placed below its own descendants.</translation></message>
<message><source>エントリはテーブルの下から移動できません。</source><translation>An entry cannot be moved from below its table.</translation></message>
<message><source>リストからオブジェクトを選択してください。</source><translation>Choose an object in the list.</translation></message>
<message><source>「新たなオブジェクト」は既に追加されています。</source><translation>"new object" has already been added.</translation></message>
<message><source>これ以上登録できません。</source><translation>No more objects can be registered.</translation></message>
<message><source>このオブジェクトの下に新たなオブジェクトは追加できません。</source><translation>No new object can be added below this object.</translation></message>
<message><source>追加に失敗しました</source><translation>Adding failed</translation></message>
<message><source>このオブジェクト以下のツリーをすべて削除しますが、よろしいですか？</source><translation>This deletes the object and the whole tree below it. Continue?</translation></message>
<message><source>エントリは削除できません。テーブルから指定してください。</source><translation>An entry cannot be deleted by itself. Delete its table.</translation></message>
<message><source>削除に失敗しました</source><translation>Deleting failed</translation></message>
<message><source>ツリーからオブジェクトを選択してください。</source><translation>Choose an object in the tree.</translation></message>
<message><source>テーブルのタイプは変更できません。</source><translation>The type of a table cannot be changed.</translation></message>
<message><source>テーブルのタイプへは変更できません。</source><translation>The object cannot be changed into a table.</translation></message>
<message><source>テーブルはこれ以上登録できません</source><translation>No more tables can be registered</translation></message>
<message><source>項目値は最大1000までです。</source><translation>An item value is at most 1000.</translation></message>
<message><source>新たなオブジェクト</source><translation>new object</translation></message>
<message><source>変更に失敗しました</source><translation>Changing failed</translation></message>
<message><source>拡張子(.mdf)がついていないか無効です。</source><translation>The file name lacks the extension (.mdf) or it is not valid.</translation></message>
<message><source>拡張子(.mib)がついていないか無効です。</source><translation>The file name lacks the extension (.mib) or it is not valid.</translation></message>
<message><source>ファイルがみつかりません。</source><translation>The file cannot be found.</translation></message>
<message><source>元のファイルが上書きされますが、よろしいですか？</source><translation>The existing file will be overwritten. Continue?</translation></message>
<message><source>保存の確認</source><translation>Confirm Save</translation></message>
<message><source>MIBファイルの読み込みに失敗しました。</source><translation>Reading the MIB file failed.</translation></message>
<message><source>MIBファイルのオープンに失敗しました。</source><translation>Opening the MIB file failed.</translation></message>
<message><source>ファイルの読み込みに失敗しました</source><translation>Reading the file failed</translation></message>
<message><source>変数に読み込みました。</source><translation>The file was read.</translation></message>
<message><source>ファイルオープンの確認</source><translation>Confirm Open</translation></message>
<message><source>ファイルの保存に失敗しました</source><translation>Saving the file failed</translation></message>
<message><source>ファイルに保存しました。</source><translation>The file was saved.</translation></message>
<message><source>MIBファイルの作成に失敗しました</source><translation>Creating the MIB file failed</translation></message>
<message><source>MIBファイルを作成しました。</source><translation>The MIB file was created.</translation></message>
<message><source>詳細は error.log を参照してください。</source><translation>See error.log for details.</translation></message>
<message><source>モジュール情報を読み込めませんでした。初期値に戻しました。</source><translation>The module information could not be read. It was reset to its defaults.</translation></message>
<message><source>改版の日時は「2026-12-07 09:30」の形で入力してください。</source><translation>Enter the revision's date and time as "2026-12-07 09:30".</translation></message>
<message><source>削除する改版を選択してください。</source><translation>Choose the revision to delete.</translation></message>
<message><source>モジュール名を入力してください。</source><translation>Enter the module name.</translation></message>
<message><source>モジュール名は英大文字で始まる英数字とハイフンで入力してください。</source><translation>A module name is letters, digits and hyphens, beginning with an upper-case letter.</translation></message>
<message><source>識別子は英小文字で始まる英数字とハイフンで入力してください。</source><translation>An identity is letters, digits and hyphens, beginning with a lower-case letter.</translation></message>
<message><source>識別子が同じ名前のオブジェクトがあります。</source><translation>An object already has the identity's name.</translation></message>
<message><source>サブ識別子は1～2147483647です。</source><translation>The sub-identifier is 1 to 2147483647.</translation></message>
<message><source>このサブ識別子は親オブジェクトの下で既に使われています。</source><translation>This sub-identifier is already used below the parent object.</translation></message>
<message><source>最終更新の日時は「2026-12-07 09:30」の形で入力してください。</source><translation>Enter the last update's date and time as "2026-12-07 09:30".</translation></message>
<message><source>モジュール情報の変更に失敗しました</source><translation>Changing the module information failed</translation></message>
<message><source>次のオブジェクトはSMIv2のMIBファイルに含まれていません。</source><translation>The following objects are not in the SMIv2 MIB file.</translation></message>
<message><source>・%1</source><translation>- %1</translation></message>
<message><source>ほか%1個</source><translation>and %1 more</translation></message>
<message><source>Korvelは既に起動されています。</source><translation>Korvel is already running.</translation></message>
<message><source>ドライブが選択できません。</source><translation>The drive cannot be chosen.</translation></message>
<message><source>ファイル名（パス名も含む）は255文字までです。</source><translation>A file name (with its path) is at most 255 characters.</translation></message>
<message><source>注意メッセージ</source><translation>Caution</translation></message>
<message><source>警告メッセージ</source><translation>Warning</translation></message>
<message><source>ファイルを選択してください。</source><translation>Choose a file.</translation></message>
<message><source>ファイル操作に失敗しました。</source><translation>The file operation failed.</translation></message>
<message><source>現時点ではｼｽﾃﾑ情報を使用できません</source><translation>System information is not available at this time</translation></message>
<message><source>範囲の指定</source><translation>Range</translation></message>
<message><source>～</source><translation>~</translation></message>
<message><source>リスト</source><translation>List</translation></message>
<message><source>値</source><translation>Value</translation></message>
<message><source>ﾘｽﾄへ追加</source><translation>Add to List</translation></message>
<message><source>ﾘｽﾄから削除</source><translation>Remove from List</translation></message>
<message><source>アクセス権</source><translation>Access</translation></message>
<message><source>ﾃｰﾌﾞﾙｷｰ</source><translation>Table Key</translation></message>
<message><source>順位</source><translation>Position</translation></message>
<message><source>ﾌｧｲﾙ(&amp;F)</source><translation>&amp;File</translation></message>
<message><source>ﾃﾞｻﾞｲﾝﾌｧｲﾙを開く(&amp;O)</source><translation>&amp;Open Design File</translation></message>
<message><source>保存(&amp;S)</source><translation>&amp;Save</translation></message>
<message><source>ﾓｼﾞｭｰﾙ情報(&amp;I)</source><translation>Module &amp;Information</translation></message>
<message><source>SMIv2 MIBﾌｧｲﾙ作成(&amp;M)</source><translation>Create SMIv2 &amp;MIB File</translation></message>
<message><source>終了(&amp;X)</source><translation>E&amp;xit</translation></message>
<message><source>表示(&amp;V)</source><translation>&amp;View</translation></message>
<message><source>言語(&amp;G)</source><translation>Lan&amp;guage</translation></message>
<message><source>日本語</source><translation>Japanese</translation></message>
<message><source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)</source><translation>&amp;About Korvel</translation></message>
<message><source>Korvel （ﾊﾞｰｼﾞｮﾝ）</source><translation>Korvel (Version)</translation></message>
<message><source>問い合わせ</source><translation>Contact</translation></message>
<message><source>ｼｽﾃﾑ情報(&amp;S)...</source><translation>&amp;System Info...</translation></message>
<message><source>Korvel （ファイル）</source><translation>Korvel (File)</translation></message>
<message><source>ファイル名</source><translation>File Name</translation></message>
<message><source>開く</source><translation>Open</translation></message>
<message><source>保存</source><translation>Save</translation></message>
<message><source>MIB作成</source><translation>Create MIB</translation></message>
<message><source>ﾓｼﾞｭｰﾙ情報</source><translation>Module Information</translation></message>
<message><source>空欄: 作成時の日時</source><translation>Empty: the time of creation</translation></message>
<message><source>日時 (UTC)</source><translation>Date (UTC)</translation></message>
<message><source>ｻﾌﾞ識別子</source><translation>Sub-identifier</translation></message>
<message><source>ﾓｼﾞｭｰﾙ名</source><translation>Module Name</translation></message>
<message><source>識別子</source><translation>Identity</translation></message>
<message><source>最終更新 (UTC)</source><translation>Last Updated (UTC)</translation></message>
<message><source>組織</source><translation>Organization</translation></message>
<message><source>連絡先</source><translation>Contact</translation></message>
<message><source>改版履歴</source><translation>Revisions</translation></message>
<message><source>Korvel （詳細設定）</source><translation>Korvel (Details)</translation></message>
<message><source>ツリー</source><translation>Tree</translation></message>
<message><source>テーブル</source><translation>Table</translation></message>
<message><source>オブジェクト</source><translation>Object</translation></message>
<message><source>説明</source><translation>Description</translation></message>
<message><source>ｴﾝﾄﾘの説明</source><translation>Entry Description</translation></message>
<message><source>タイプ</source><translation>Type</translation></message>
<message><source>追加</source><translation>Add</translation></message>
<message><source>ｷｬﾝｾﾙ</source><translation>Cancel</translation></message>
<message><source>親オブジェクト</source><translation>Parent Object</translation></message>
<message><source>名前</source><translation>Name</translation></message>
<message><source>オブジェクトID</source><translation>Object ID</translation></message>
<message><source>ﾍﾙﾌﾟ(&amp;H)</source><translation>&amp;Help</translation></message>
<message><source>変更</source><translation>Change</translation></message>
<message><source>親ｵﾌﾞｼﾞｪｸﾄ</source><translation>Parent Object</translation></message>
<message><source>上へ</source><translation>Up</translation></message>
<message><source>オブジェクト名</source><translation>Object Name</translation></message>
<message><source>ﾄﾗｯﾌﾟ追加</source><translation>Add Trap</translation></message>
<message><source>MIBﾌｧｲﾙのﾛｰﾄﾞ(&amp;L)</source><translation>&amp;Load MIB File</translation></message>
<message><source>ﾂﾘｰ(&amp;T)</source><translation>&amp;Tree</translation></message>
<message><source>- Korvel （リスト）</source><translation>- Korvel (List)</translation></message>
<message><source>設定</source><translation>Apply</translation></message>
<message><source>Korvel （ツリー）</source><translation>Korvel (Tree)</translation></message>
<message><source>削除</source><translation>Delete</translation></message>
<message><source>MIBﾌｧｲﾙ 作成</source><translation>Create MIB File</translation></message>
<message><source>MIBﾌｧｲﾙをﾛｰﾄﾞ(&amp;L)</source><translation>&amp;Load MIB File</translation></message>
<message><source>ﾘｽﾄ(&amp;L)</source><translation>&amp;List</translation></message>
<message><source>- Korvel （ツリー）</source><translation>- Korvel (Tree)</translation></message>
<message><source>MIBﾓｼﾞｭｰﾙのｲﾝﾎﾟｰﾄ(&amp;P)</source><translation>Im&amp;port MIB Module</translation></message>
<message><source>ﾃﾞｻﾞｲﾝﾁｪｯｸ(&amp;C)</source><translation>Design &amp;Check</translation></message>
<message><source>MIBモジュールをインポートしました。</source><translation>The MIB module was imported.</translation></message>
<message><source>MIBモジュールをインポートしました。次の定義は取り込めませんでした。</source><translation>The MIB module was imported. These definitions could not be kept:</translation></message>
<message><source>MIBモジュールをインポートできませんでした。&#xa;%1</source><translation>The MIB module could not be imported.&#xa;%1</translation></message>
<message><source>MIBモジュールのインポートに失敗しました</source><translation>Importing the MIB module failed</translation></message>
<message><source>Korvel （デザインチェック）</source><translation>Korvel (Design Check)</translation></message>
<message><source>問題は見つかりませんでした。</source><translation>No problems were found.</translation></message>
<message><source>エラー</source><translation>Error</translation></message>
<message><source>警告</source><translation>Warning</translation></message>
<message><source>エラー %1件、警告 %2件</source><translation>%1 error(s), %2 warning(s)</translation></message>
<message><source>種別</source><translation>Severity</translation></message>
<message><source>内容</source><translation>Message</translation></message>
<message><source>変更が保存されていません。保存しますか？</source><translation>The changes have not been saved. Save them?</translation></message>
<message><source>見つかりません。</source><translation>Not found.</translation></message>
<message><source>検索</source><translation>Find</translation></message>
<message><source>ｵﾌﾞｼﾞｪｸﾄ名の一部またはOID:</source><translation>Part of an object name, or an OID:</translation></message>
<message><source>編集(&amp;E)</source><translation>&amp;Edit</translation></message>
<message><source>元に戻す(&amp;U)</source><translation>&amp;Undo</translation></message>
<message><source>やり直し(&amp;R)</source><translation>&amp;Redo</translation></message>
<message><source>検索(&amp;F)...</source><translation>&amp;Find...</translation></message>
<message><source>次を検索(&amp;N)</source><translation>Find &amp;Next</translation></message>
<message><source>[*] - Korvel （リスト）</source><translation>[*] - Korvel (List)</translation></message>
<message><source>Korvel （ツリー）[*]</source><translation>Korvel (Tree)[*]</translation></message>
<message><source>[*] - Korvel （ツリー）</source><translation>[*] - Korvel (Tree)</translation></message>
</context>
</TS>
