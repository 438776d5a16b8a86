<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>::SetFileSize()</name>
    <message>
        <source>%1 KB</source>
        <extracomment>file size in kilobytes</extracomment>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
</context>
<context>
    <name>ErrorDialog</name>
    <message>
        <source>Click the link in the error message for more information</source>
        <translation>詳しくは、エラー メッセージのリンクをクリックしてください</translation>
    </message>
    <message>
        <source>Error</source>
        <extracomment>column headers: the error code and reason, the file&apos;s path</extracomment>
        <translation>エラー</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Open</source>
        <extracomment>button: open the listed files anyway</extracomment>
        <translation>開く</translation>
    </message>
</context>
<context>
    <name>FileAnalysisRunner</name>
    <message>
        <source>Portavo</source>
        <translation>Portavo</translation>
    </message>
    <message>
        <source>Analyzing...</source>
        <translation>分析しています…</translation>
    </message>
    <message>
        <source>Analyzing... %1/%2</source>
        <translation>分析しています… %1/%2</translation>
    </message>
</context>
<context>
    <name>FileInfoModel</name>
    <message>
        <source>Waiting</source>
        <extracomment>file state in the progress list: not started yet</extracomment>
        <translation>待機中</translation>
    </message>
    <message>
        <source>In progress</source>
        <translation>処理中</translation>
    </message>
    <message>
        <source>Conversion error</source>
        <translation>変換エラー</translation>
    </message>
    <message>
        <source>Ready</source>
        <extracomment>file state: converted, waiting to be written</extracomment>
        <translation>準備完了</translation>
    </message>
    <message>
        <source>Burning</source>
        <extracomment>file state: being written to a disc / being copied to a USB drive</extracomment>
        <translation>書き込み中</translation>
    </message>
    <message>
        <source>Transferring</source>
        <translation>転送中</translation>
    </message>
    <message>
        <source>Canceled</source>
        <extracomment>file state</extracomment>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Finished</source>
        <extracomment>file state: on the disc or USB drive</extracomment>
        <translation>完了</translation>
    </message>
    <message>
        <source>Failed</source>
        <extracomment>file state: could not be written</extracomment>
        <translation>失敗</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>不明</translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>column header: file name</extracomment>
        <translation>名前</translation>
    </message>
    <message>
        <source>Size</source>
        <extracomment>column header: file size</extracomment>
        <translation>サイズ</translation>
    </message>
    <message>
        <source>Progress</source>
        <extracomment>column header (83 pixels wide): state of each file / estimated time to transfer it</extracomment>
        <translation>状態</translation>
    </message>
    <message>
        <source>Transfer Time</source>
        <translation>転送時間</translation>
    </message>
    <message>
        <source>MB</source>
        <extracomment>unit of the free space shown in large type; megabytes</extracomment>
        <translation>MB</translation>
    </message>
    <message>
        <source>GB</source>
        <extracomment>gigabytes</extracomment>
        <translation>GB</translation>
    </message>
    <message>
        <source>TB</source>
        <extracomment>terabytes</extracomment>
        <translation>TB</translation>
    </message>
    <message>
        <source>Includes the conversion; press Enter to learn why it takes longer</source>
        <translation>変換を含みます。時間がかかる理由を確認するには Enter キーを押してください</translation>
    </message>
    <message>
        <source>part of the file could not be read</source>
        <translation>ファイルの一部を読み取れませんでした</translation>
    </message>
    <message>
        <source>its number of video tracks</source>
        <translation>ビデオトラック数</translation>
    </message>
    <message>
        <source>its file type</source>
        <translation>ファイルの種類</translation>
    </message>
    <message>
        <source>its video format</source>
        <translation>ビデオ形式</translation>
    </message>
    <message>
        <source>its picture size</source>
        <translation>画像サイズ</translation>
    </message>
    <message>
        <source>its frame rate</source>
        <translation>フレームレート</translation>
    </message>
    <message>
        <source>its colour format</source>
        <translation>色形式</translation>
    </message>
    <message>
        <source>its video bit rate</source>
        <translation>ビデオのビットレート</translation>
    </message>
    <message>
        <source>its H.264 profile or level</source>
        <translation>H.264 のプロファイルまたはレベル</translation>
    </message>
    <message>
        <source>its audio format</source>
        <translation>オーディオ形式</translation>
    </message>
    <message>
        <source>its number of audio channels</source>
        <translation>オーディオチャンネル数</translation>
    </message>
    <message>
        <source>its audio bit rate</source>
        <translation>オーディオのビットレート</translation>
    </message>
    <message>
        <source>Converted for your device.</source>
        <translation>お使いのデバイス用に変換しました。</translation>
    </message>
    <message>
        <source>Converted for your device: %1.</source>
        <translation>お使いのデバイス用に変換しました: %1。</translation>
    </message>
    <message>
        <source>Converted for your device because of %1.</source>
        <translation>%1のため、お使いのデバイス用に変換しました。</translation>
    </message>
    <message>
        <source>Not copied</source>
        <translation>未コピー</translation>
    </message>
    <message>
        <source>The file as it is: your device plays it without conversion.</source>
        <translation>ファイルそのままです。お使いのデバイスは変換せずに再生できます。</translation>
    </message>
    <message>
        <source>Size after conversion (the file itself: %1).</source>
        <translation>変換後のサイズです (ファイル自体: %1)。</translation>
    </message>
    <message>
        <source>What is written to the destination: for videos marked as converted, the size after conversion.</source>
        <translation>転送先に書き込まれるサイズです。変換済みと表示されたビデオは変換後のサイズです。</translation>
    </message>
</context>
<context>
    <name>FileTypes</name>
    <message>
        <source>All Video</source>
        <extracomment>the Add dialog&apos;s filter of every readable type, shown as &quot;%1 files&quot;</extracomment>
        <translation>すべてのビデオ</translation>
    </message>
</context>
<context>
    <name>FinishPageDrive</name>
    <message>
        <source>Eject</source>
        <translation>取り出し</translation>
    </message>
    <message>
        <source>Safely remove the USB drive</source>
        <translation>USB ドライブを安全に取り外します</translation>
    </message>
    <message>
        <source>Ejecting the USB drive...</source>
        <translation>USB ドライブを取り出しています...</translation>
    </message>
    <message>
        <source>On the drive:</source>
        <translation>ドライブ上のファイル:</translation>
    </message>
    <message>
        <source>%1 (renamed from &quot;%2&quot;)</source>
        <translation>%1 (元の名前:「%2」)</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>ほか %n 件</numerusform>
        </translation>
    </message>
    <message>
        <source>The USB drive can be removed now.</source>
        <translation>USB ドライブを取り外せます。</translation>
    </message>
    <message>
        <source>The USB drive is no longer in use and can be removed now.</source>
        <translation>USB ドライブは使用されていないため、取り外せます。</translation>
    </message>
    <message>
        <source>The USB drive is busy: another program is using it. Close it and try again.</source>
        <translation>USB ドライブは使用中です。別のプログラムが使用しています。そのプログラムを閉じてから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>The USB drive is busy: %1 is using it. Close it and try again.</source>
        <translation>USB ドライブは %1 が使用中です。そのプログラムを閉じてから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>You are not permitted to eject this USB drive.</source>
        <translation>この USB ドライブを取り出す権限がありません。</translation>
    </message>
    <message>
        <source>The USB drive could not be ejected: %1</source>
        <translation>USB ドライブを取り出せませんでした: %1</translation>
    </message>
</context>
<context>
    <name>HelpChooseDialog</name>
    <message>
        <source>Help choose your device type</source>
        <translation>デバイスの種類の選び方</translation>
    </message>
    <message>
        <source>The recommended option will be compatible with any Kavo Certified device.  If you are unsure which type of device you have, always choose the recommended option.</source>
        <translation>推奨オプションは、すべての Kavo 認定デバイスに対応しています。お使いのデバイスの種類がわからない場合は、必ず推奨オプションを選択してください。</translation>
    </message>
    <message>
        <source>Learn more about Kavo Certified devices</source>
        <translation>Kavo 認定デバイスの詳細</translation>
    </message>
</context>
<context>
    <name>HelpLinkOpener</name>
    <message>
        <source>Help</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>No program to show this help page was found. The page is at:

%1</source>
        <translation>このヘルプ ページを表示するプログラムが見つかりませんでした。ページの場所:

%1</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Portavo Help</source>
        <translation>Portavo ヘルプ</translation>
    </message>
</context>
<context>
    <name>ResultCodeReason</name>
    <message>
        <source>converter busy or not available</source>
        <translation>変換機能が使用中か利用できません</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>キャンセルされました</translation>
    </message>
    <message>
        <source>converter failed</source>
        <translation>変換機能でエラーが発生しました</translation>
    </message>
    <message>
        <source>not examined</source>
        <translation>未分析です</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>読み込めません</translation>
    </message>
    <message>
        <source>damaged or cut short</source>
        <translation>破損しているか、途中で切れています</translation>
    </message>
    <message>
        <source>file not found</source>
        <translation>ファイルが見つかりません</translation>
    </message>
    <message>
        <source>already in the list</source>
        <translation>すでにリストにあります</translation>
    </message>
    <message>
        <source>not a usable video file</source>
        <translation>使用できるビデオ ファイルではありません</translation>
    </message>
    <message>
        <source>took too long to examine</source>
        <translation>分析に時間がかかりすぎました</translation>
    </message>
    <message>
        <source>subtitles cannot be converted</source>
        <translation>字幕を変換できません</translation>
    </message>
    <message>
        <source>not a video file</source>
        <translation>ビデオ ファイルではありません</translation>
    </message>
    <message>
        <source>no video track</source>
        <translation>ビデオ トラックがありません</translation>
    </message>
    <message>
        <source>sound cannot be read</source>
        <translation>音声を読み込めません</translation>
    </message>
    <message>
        <source>variable frame rate</source>
        <translation>可変フレーム レートです</translation>
    </message>
    <message>
        <source>cannot be made to fit the device</source>
        <translation>デバイスに合わせて変換できません</translation>
    </message>
    <message>
        <source>video format cannot be decoded</source>
        <translation>ビデオ形式をデコードできません</translation>
    </message>
    <message>
        <source>sound format cannot be decoded</source>
        <translation>音声形式をデコードできません</translation>
    </message>
    <message>
        <source>encoder missing</source>
        <translation>エンコーダーがありません</translation>
    </message>
    <message>
        <source>could not write the converted file</source>
        <translation>変換したファイルを書き込めませんでした</translation>
    </message>
    <message>
        <source>unusual picture size</source>
        <translation>画像サイズが通常と異なります</translation>
    </message>
    <message>
        <source>parts do not match</source>
        <translation>各部分が一致しません</translation>
    </message>
    <message>
        <source>no permission to read it</source>
        <translation>読み取る権限がありません</translation>
    </message>
    <message>
        <source>converter stopped on it</source>
        <translation>このファイルで変換が停止しました</translation>
    </message>
</context>
<context>
    <name>SenseText</name>
    <message>
        <source>there is no disc in the drive</source>
        <translation>ドライブにディスクが入っていません</translation>
    </message>
    <message>
        <source>the drive is not ready: the disc is still being loaded</source>
        <translation>ドライブの準備ができていません。ディスクを読み込み中です</translation>
    </message>
    <message>
        <source>the disc is write-protected</source>
        <translation>ディスクは書き込み禁止です</translation>
    </message>
    <message>
        <source>the disc is not compatible with this drive (incompatible medium)</source>
        <translation>このディスクはこのドライブに対応していません (互換性のないメディア)</translation>
    </message>
    <message>
        <source>the disc is not writable (it is closed or full)</source>
        <translation>ディスクに書き込めません (クローズ済みか、いっぱいです)</translation>
    </message>
    <message>
        <source>the disc is not writable in the way the drive was asked</source>
        <translation>要求された方法ではこのディスクに書き込めません</translation>
    </message>
    <message>
        <source>power calibration failed: the disc may be of poor quality or unsuited to this drive; try a disc of another brand</source>
        <translation>パワー キャリブレーションに失敗しました。ディスクの品質が低いか、このドライブに適していない可能性があります。別のメーカーのディスクをお試しください</translation>
    </message>
    <message>
        <source>buffer underrun: the data did not reach the drive fast enough</source>
        <translation>バッファ アンダーラン: データが十分な速さでドライブに届きませんでした</translation>
    </message>
    <message>
        <source>the drive could not write to the disc</source>
        <translation>ドライブがディスクに書き込めませんでした</translation>
    </message>
    <message>
        <source>the disc could not be read back</source>
        <translation>ディスクを読み戻せませんでした</translation>
    </message>
    <message>
        <source>the disc was changed during the write</source>
        <translation>書き込み中にディスクが交換されました</translation>
    </message>
    <message>
        <source>the drive was reset during the write</source>
        <translation>書き込み中にドライブがリセットされました</translation>
    </message>
    <message>
        <source>the drive reported a hardware fault</source>
        <translation>ドライブがハードウェアの障害を報告しました</translation>
    </message>
    <message>
        <source>the recorder was disconnected or switched off during the write</source>
        <translation>書き込み中に書き込みドライブが取り外されたか、電源が切れました</translation>
    </message>
    <message>
        <source>the drive reported an error it did not explain (sense %1)</source>
        <translation>ドライブが原因不明のエラーを報告しました (センス %1)</translation>
    </message>
    <message>
        <source>%1 (drive sense %2)</source>
        <translation>%1 (ドライブ センス %2)</translation>
    </message>
    <message>
        <source>what was read back from the disc differs from the video (verify failed)</source>
        <translation>ディスクから読み戻した内容がビデオと一致しません (検証に失敗しました)</translation>
    </message>
    <message>
        <source>the videos do not fit on the disc</source>
        <translation>ビデオがディスクに収まりません</translation>
    </message>
    <message>
        <source>no writable disc is ready in the drive</source>
        <translation>ドライブに書き込み可能なディスクがありません</translation>
    </message>
    <message>
        <source>another program is using the recorder</source>
        <translation>別のプログラムが書き込みドライブを使用しています</translation>
    </message>
    <message>
        <source>your account may not use the recorder</source>
        <translation>お使いのアカウントには書き込みドライブを使用する権限がありません</translation>
    </message>
    <message>
        <source>the disc in the drive cannot be written</source>
        <translation>ドライブ内のディスクには書き込めません</translation>
    </message>
    <message>
        <source>the video could not be read from the hard disk</source>
        <translation>ハード ディスクからビデオを読み込めませんでした</translation>
    </message>
    <message>
        <source>the recorder could not be found</source>
        <translation>書き込みドライブが見つかりませんでした</translation>
    </message>
    <message>
        <source>the recorder failed (%1)</source>
        <translation>書き込みドライブでエラーが発生しました (%1)</translation>
    </message>
</context>
<context>
    <name>TransferDevicesLibrary::TransferDevices</name>
    <message>
        <source>Your device&apos;s saved choices cannot be used right now: another program is using the device memory file %1. Portavo carries on without them and tries again later.</source>
        <translation>デバイスの保存済みの設定は現在使用できません。別のプログラムがデバイス メモリ ファイル %1 を使用しています。Portavo は保存済みの設定なしで続行し、後でもう一度試します。</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: the folder for %1 cannot be created (%2).</source>
        <translation>Portavo はデバイスを記憶できません。%1 のフォルダーを作成できません (%2)。</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: %1 cannot be created (%2).</source>
        <translation>Portavo はデバイスを記憶できません。%1 を作成できません (%2)。</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: there is no folder for its device memory (HOME is not set).</source>
        <translation>Portavo はデバイスを記憶できません。デバイス メモリ用のフォルダーがありません (HOME が設定されていません)。</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: %1 cannot be opened (%2).</source>
        <translation>Portavo はデバイスを記憶できません。%1 を開けません (%2)。</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: the device memory file %1 is damaged or unreadable (%2). It is left as it is.</source>
        <translation>Portavo はデバイスを記憶できません。デバイス メモリ ファイル %1 が破損しているか、読み取れません (%2)。ファイルはそのまま残されます。</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: the device memory file %1 is damaged. It is left as it is.</source>
        <translation>Portavo はデバイスを記憶できません。デバイス メモリ ファイル %1 が破損しています。ファイルはそのまま残されます。</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: %1 is not its device memory but some other database. It is left as it is.</source>
        <translation>Portavo はデバイスを記憶できません。%1 は Portavo のデバイス メモリではなく、別のデータベースです。ファイルはそのまま残されます。</translation>
    </message>
</context>
<context>
    <name>TransferWizardController</name>
    <message>
        <source>Device Memory</source>
        <extracomment>title of a box: the device library that remembers choices per device</extracomment>
        <translation>デバイス メモリ</translation>
    </message>
    <message>
        <source>DVD Player</source>
        <extracomment>device kind; it completes &quot;This choice will work with any Kavo Certified %1&quot;</extracomment>
        <translation>DVD プレーヤー</translation>
    </message>
    <message>
        <source>Blu-ray Player</source>
        <translation>Blu-ray プレーヤー</translation>
    </message>
    <message>
        <source>TV</source>
        <extracomment>device kind: a television</extracomment>
        <translation>テレビ</translation>
    </message>
    <message>
        <source>Playstation 3</source>
        <translation>PlayStation 3</translation>
    </message>
    <message>
        <source>Mobile Phone</source>
        <translation>携帯電話</translation>
    </message>
    <message>
        <source>You can only perform one transfer at a time with Portavo. Please finish or close the current transfer before proceeding.</source>
        <translation>Portavo で同時に実行できる転送は 1 つだけです。現在の転送を完了するか閉じてから、続行してください。</translation>
    </message>
    <message>
        <source>Add Video Error</source>
        <translation>ビデオ追加エラー</translation>
    </message>
    <message>
        <source>the file could not be converted (error %1)</source>
        <translation>ファイルを変換できませんでした (エラー %1)</translation>
    </message>
    <message>
        <source>the recorder could not be found</source>
        <translation>書き込みドライブが見つかりませんでした</translation>
    </message>
    <message>
        <source>the disc is full</source>
        <translation>ディスクがいっぱいです</translation>
    </message>
    <message>
        <source>no writable disc is ready in the drive</source>
        <translation>ドライブに書き込み可能なディスクがありません</translation>
    </message>
    <message>
        <source>no recorder was chosen</source>
        <translation>書き込みドライブが選択されていません</translation>
    </message>
    <message>
        <source>the burn was stopped</source>
        <translation>書き込みが中止されました</translation>
    </message>
    <message>
        <source>the recorder is in use by another program</source>
        <translation>書き込みドライブは別のプログラムで使用中です</translation>
    </message>
    <message>
        <source>the disc could not be written</source>
        <translation>ディスクに書き込めませんでした</translation>
    </message>
    <message>
        <source>Transfer failed. %1 could not be written: %2.</source>
        <translation>転送に失敗しました。%1 を書き込めませんでした: %2。</translation>
    </message>
    <message>
        <source>the file was not found</source>
        <translation>ファイルが見つかりませんでした</translation>
    </message>
    <message>
        <source>the recorder %1 is not available</source>
        <translation>書き込みドライブ %1 を使用できません</translation>
    </message>
</context>
<context>
    <name>TransferWizardDlg</name>
    <message>
        <source>Welcome to Portavo™</source>
        <translation>Portavo™ へようこそ</translation>
    </message>
    <message>
        <source>Portavo™ makes it easy to watch your favorite videos on your DVD Player, Blu-ray Player, PlayStation® 3 or Digital Television by transferring them using a USB drive or by burning a disc.</source>
        <translation>Portavo™ を使えば、お気に入りのビデオを USB ドライブで転送したりディスクに書き込んだりして、DVD プレーヤー、Blu-ray プレーヤー、PlayStation® 3、デジタル テレビで簡単に楽しめます。</translation>
    </message>
    <message>
        <source>Click &apos;Next&apos; to get started.</source>
        <translation>「次へ」をクリックして始めましょう。</translation>
    </message>
    <message>
        <source>Choose your device type</source>
        <translation>デバイスの種類を選択してください</translation>
    </message>
    <message>
        <source>Which type of Kavo Certified device do you have?</source>
        <translation>お使いの Kavo 認定デバイスの種類はどれですか?</translation>
    </message>
    <message>
        <source>Recommended</source>
        <extracomment>beside the recommended profile</extracomment>
        <translation>推奨</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;PLACEHOLDER&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Help me choose&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;PLACEHOLDER&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;選び方のヒント&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Choose a transfer method</source>
        <translation>転送方法を選択してください</translation>
    </message>
    <message>
        <source>How would you like to transfer your videos?</source>
        <translation>ビデオをどの方法で転送しますか?</translation>
    </message>
    <message>
        <source>Burn a CD/DVD</source>
        <translation>CD/DVD に書き込む</translation>
    </message>
    <message>
        <source>USB Drive</source>
        <extracomment>transfer method: copy to a USB drive</extracomment>
        <translation>USB ドライブ</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/method/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Learn more&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/method/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;詳細&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Add or remove videos</source>
        <translation>ビデオの追加と削除</translation>
    </message>
    <message>
        <source>Space remaining:</source>
        <extracomment>free space left on the drive after the listed videos</extracomment>
        <translation>残りの空き容量:</translation>
    </message>
    <message>
        <source>No Drive</source>
        <extracomment>shown in large type where the free space of the drive would be</extracomment>
        <translation>ドライブなし</translation>
    </message>
    <message>
        <source>Your USB drive/disc is full.  Please remove one or more videos to continue.</source>
        <translation>USB ドライブまたはディスクがいっぱいです。続行するには、ビデオを 1 つ以上削除してください。</translation>
    </message>
    <message>
        <source>Add</source>
        <extracomment>button: add videos to the list</extracomment>
        <translation>追加</translation>
    </message>
    <message>
        <source>Add videos</source>
        <translation>ビデオを追加します</translation>
    </message>
    <message>
        <source>Remove</source>
        <extracomment>button: remove the selected videos from the list</extracomment>
        <translation>削除</translation>
    </message>
    <message>
        <source>Remove the selected videos</source>
        <translation>選択したビデオを削除します</translation>
    </message>
    <message>
        <source>Total transfer time: </source>
        <translation>合計時間: </translation>
    </message>
    <message>
        <source>Transferring videos</source>
        <translation>ビデオを転送しています</translation>
    </message>
    <message>
        <source>Converting video</source>
        <translation>ビデオを変換しています</translation>
    </message>
    <message>
        <source>Counting...</source>
        <extracomment>remaining time not yet known</extracomment>
        <translation>計算中…</translation>
    </message>
    <message>
        <source>Transfer Complete</source>
        <translation>転送が完了しました</translation>
    </message>
    <message>
        <source>Portavo™ has successfully transferred your videos to your disc/USB drive.  Your settings will be stored to make transferring videos to this device quicker next time.</source>
        <translation>Portavo™ でビデオをディスク/USB ドライブに転送しました。次回このデバイスへすばやく転送できるように、設定が保存されます。</translation>
    </message>
    <message>
        <source>To watch your video, insert the disc/USB drive into your Kavo Certified device and enjoy!</source>
        <translation>ビデオを見るには、ディスク/USB ドライブを Kavo 認定デバイスに挿入してください。お楽しみください!</translation>
    </message>
    <message>
        <source>You need to play the registration video first before you can play Kavo VOD movie properly.</source>
        <translation>Kavo VOD の映画を正しく再生するには、先に登録ビデオを再生する必要があります。</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/help/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Need Help?&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/help/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;ヘルプ&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>DEVICE</source>
        <extracomment>wizard step, in capitals</extracomment>
        <translation>デバイス</translation>
    </message>
    <message>
        <source>METHOD</source>
        <extracomment>wizard step: the transfer method, in capitals</extracomment>
        <translation>方法</translation>
    </message>
    <message>
        <source>VIDEOS</source>
        <extracomment>wizard step, in capitals</extracomment>
        <translation>ビデオ</translation>
    </message>
    <message>
        <source>TRANSFER</source>
        <extracomment>wizard step, in capitals</extracomment>
        <translation>転送</translation>
    </message>
    <message>
        <source>Back</source>
        <extracomment>wizard button: previous page</extracomment>
        <translation>戻る</translation>
    </message>
    <message>
        <source>Start</source>
        <extracomment>wizard button: start the transfer</extracomment>
        <translation>開始</translation>
    </message>
    <message>
        <source>Next</source>
        <extracomment>wizard button: next page</extracomment>
        <translation>次へ</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>wizard button: cancel the running transfer</extracomment>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Transfer failed</source>
        <translation>転送に失敗しました</translation>
    </message>
    <message>
        <source>No CD/DVD burner drive found.</source>
        <translation>CD/DVD 書き込みドライブが見つかりません。</translation>
    </message>
    <message>
        <source>Insert USB drive</source>
        <translation>USB ドライブを挿入してください</translation>
    </message>
    <message>
        <source>No USB drive found. Please insert USB drive.</source>
        <translation>USB ドライブが見つかりません。USB ドライブを挿入してください。</translation>
    </message>
    <message>
        <source>There is no disc detected.  Please insert a disc or select another drive to continue.</source>
        <translation>ディスクが検出されません。続行するには、ディスクを挿入するか、別のドライブを選択してください。</translation>
    </message>
    <message>
        <source>There is no USB drive detected.  Please insert a USB drive or select another drive to continue.</source>
        <translation>USB ドライブが検出されません。続行するには、USB ドライブを挿入するか、別のドライブを選択してください。</translation>
    </message>
    <message>
        <source>Unable to write to the disc that is inserted. Please insert another disc to continue.</source>
        <translation>挿入されているディスクに書き込めません。続行するには、別のディスクを挿入してください。</translation>
    </message>
    <message>
        <source>Unable to write to the USB drive that is inserted. Please insert another USB drive to continue.</source>
        <translation>挿入されている USB ドライブに書き込めません。続行するには、別の USB ドライブを挿入してください。</translation>
    </message>
    <message>
        <source>Your Disc is full.  Please insert another disc to continue.</source>
        <translation>ディスクがいっぱいです。続行するには、別のディスクを挿入してください。</translation>
    </message>
    <message>
        <source>Your USB Drive is full.  Please remove one or more videos to continue.</source>
        <translation>USB ドライブがいっぱいです。続行するには、ビデオを 1 つ以上削除してください。</translation>
    </message>
    <message>
        <source>Your USB drive does not have enough free space available for this transfer.  Please remove one or more videos or make room on your USB drive to continue.</source>
        <translation>USB ドライブにこの転送に必要な空き容量がありません。続行するには、ビデオを 1 つ以上削除するか、USB ドライブの空き容量を増やしてください。</translation>
    </message>
    <message>
        <source>USB drive must be formatted %1.  Please insert another USB drive to continue.</source>
        <translation>USB ドライブは %1 でフォーマットされている必要があります。続行するには、別の USB ドライブを挿入してください。</translation>
    </message>
    <message>
        <source>The video %1 is 4 GB or larger and cannot be stored on a USB drive formatted %2.  Please remove the video or insert a USB drive formatted NTFS or exFAT to continue.</source>
        <translation>ビデオ %1 は 4 GB 以上のため、%2 形式の USB ドライブに保存できません。このビデオを削除するか、NTFS または exFAT 形式の USB ドライブを挿入してください。</translation>
    </message>
    <message>
        <source>Finish</source>
        <extracomment>wizard button on the last page: closes the wizard</extracomment>
        <translation>終了</translation>
    </message>
    <message>
        <source>This choice will work with any Kavo Certified %1</source>
        <translation>この選択は、すべての Kavo 認定%1で動作します</translation>
    </message>
    <message>
        <source>Only choose this if you have a Kavo HD Certified %1</source>
        <translation>Kavo HD 認定%1をお持ちの場合のみ選択してください</translation>
    </message>
    <message>
        <source>Only choose this if you have a Kavo Plus HD Certified %1</source>
        <translation>Kavo Plus HD 認定%1をお持ちの場合のみ選択してください</translation>
    </message>
    <message>
        <source>Portavo has successfully transferred your videos to your CD/DVD. Your choices will be stored to make transferring videos to this device quicker next time.</source>
        <translation>Portavo でビデオを CD/DVD に転送しました。次回このデバイスへすばやく転送できるように、選択内容が保存されます。</translation>
    </message>
    <message>
        <source>To watch your video, insert the disc into your Kavo Certified device and enjoy!</source>
        <translation>ビデオを見るには、ディスクを Kavo 認定デバイスに挿入してください。お楽しみください!</translation>
    </message>
    <message>
        <source>Portavo has successfully transferred your videos to your USB Drive. Your choices will be stored to make transferring videos to this device quicker next time.</source>
        <translation>Portavo でビデオを USB ドライブに転送しました。次回このデバイスへすばやく転送できるように、選択内容が保存されます。</translation>
    </message>
    <message>
        <source>To watch your video, insert the USB drive into your Kavo Certified device and enjoy!</source>
        <translation>ビデオを見るには、USB ドライブを Kavo 認定デバイスに挿入してください。お楽しみください!</translation>
    </message>
    <message>
        <source>Estimated remaining time:</source>
        <translation>推定残り時間:</translation>
    </message>
    <message>
        <source>%1 files</source>
        <extracomment>a file type of the Add dialog&apos;s filter; %1 is its name (&quot;MPEG-4&quot;, &quot;All Video&quot;)</extracomment>
        <translation>%1 ファイル</translation>
    </message>
    <message>
        <source>Open Video</source>
        <extracomment>title of the file dialog that adds videos</extracomment>
        <translation>ビデオを開く</translation>
    </message>
    <message>
        <source>Invalid Files</source>
        <translation>無効なファイル</translation>
    </message>
    <message>
        <source>Kavo Transfer Wizard is unable to recognize the following files:</source>
        <translation>Kavo Transfer Wizard は次のファイルを認識できません:</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>If you choose to close window, your progress will be lost.</source>
        <translation>ウィンドウを閉じると、進行状況は失われます。</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel this transfer and close window?</source>
        <translation>この転送をキャンセルしてウィンドウを閉じますか?</translation>
    </message>
    <message>
        <source>If you choose to cancel the transfer process, your progress will be lost.</source>
        <translation>転送をキャンセルすると、進行状況は失われます。</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel this transfer?</source>
        <translation>この転送をキャンセルしますか?</translation>
    </message>
    <message>
        <source>Error %1: There was an error with the file %2 and the file cannot be converted. The transfer cannot be completed.</source>
        <translation>エラー %1: ファイル %2 でエラーが発生したため、変換できません。転送を完了できません。</translation>
    </message>
    <message>
        <source>Error: %1. There was an error with the file %2 and the file cannot be converted. 

Would you like to continue with transferring the remaing files? </source>
        <translation>エラー: %1。ファイル %2 でエラーが発生したため、変換できません。

残りのファイルの転送を続行しますか?</translation>
    </message>
    <message>
        <source>File Information</source>
        <translation>ファイル情報</translation>
    </message>
    <message>
        <source>Why do some file types take longer to transfer than others?</source>
        <translation>一部のファイルの種類で転送に時間がかかるのはなぜですか?</translation>
    </message>
    <message>
        <source>Portavo may need to convert your files to ensure that they are compatible with your Kavo Certified device. 

Larger files might also take longer to transfer than smaller files.</source>
        <translation>Portavo では、Kavo 認定デバイスで再生できるように、ファイルの変換が必要になる場合があります。

また、大きなファイルは小さなファイルよりも転送に時間がかかることがあります。</translation>
    </message>
    <message>
        <source>Input files already in queue</source>
        <translation>すでにキューにあるファイル</translation>
    </message>
    <message>
        <source>Portavo did not add the following input files because they are already in the queue:

%1</source>
        <translation>次のファイルはすでにキューにあるため、Portavo は追加しませんでした:

%1</translation>
    </message>
    <message>
        <source>Converting video %1 of %2</source>
        <translation>ビデオを変換しています (%1/%2)</translation>
    </message>
    <message>
        <source>Burning disc</source>
        <translation>ディスクに書き込んでいます</translation>
    </message>
    <message>
        <source>Transferring to USB drive</source>
        <translation>USB ドライブに転送しています</translation>
    </message>
    <message>
        <source>Transfer completed.</source>
        <translation>転送が完了しました。</translation>
    </message>
    <message>
        <source>Transfer failed. The destination drive is no longer available.</source>
        <translation>転送に失敗しました。転送先のドライブを使用できなくなりました。</translation>
    </message>
    <message>
        <source>Transferring videos %1 of %2</source>
        <translation>ビデオを転送しています (%1/%2)</translation>
    </message>
    <message>
        <source>Transfer canceled.</source>
        <translation>転送をキャンセルしました。</translation>
    </message>
    <message>
        <source>Close</source>
        <extracomment>wizard button at the end of a transfer: close the wizard / go to the finish page</extracomment>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>Transfer canceled</source>
        <translation>転送をキャンセルしました</translation>
    </message>
    <message>
        <source>If you choose to close window, the videos in your list will be removed.</source>
        <translation>ウィンドウを閉じると、リスト内のビデオは削除されます。</translation>
    </message>
    <message>
        <source>Are you sure you want to close window?</source>
        <translation>ウィンドウを閉じますか?</translation>
    </message>
    <message>
        <source>Verifying disc</source>
        <translation>ディスクを検証しています</translation>
    </message>
    <message>
        <source>Unable to write the disc image: %1.</source>
        <translation>ディスクイメージを書き込めません: %1。</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>These videos need %1; this disc holds %2. Remove about %3 of videos, or choose a DVD.</source>
        <translation>これらのビデオには %1 が必要ですが、このディスクの容量は %2 です。ビデオを約 %3 分削除するか、DVD を選択してください。</translation>
    </message>
    <message>
        <source>These videos need %1; this disc holds %2. Remove about %3 of videos, or choose a disc that holds more.</source>
        <translation>これらのビデオには %1 が必要ですが、このディスクの容量は %2 です。ビデオを約 %3 分削除するか、容量の大きいディスクを選択してください。</translation>
    </message>
    <message>
        <source>These videos need %1; this disc has room for %2. Remove about %3 of videos, or choose a blank disc or a DVD.</source>
        <translation>これらのビデオには %1 が必要ですが、このディスクの空き容量は %2 です。ビデオを約 %3 分削除するか、空のディスクまたは DVD を選択してください。</translation>
    </message>
    <message>
        <source>These videos need %1; this disc has room for %2. Remove about %3 of videos, or choose a blank disc.</source>
        <translation>これらのビデオには %1 が必要ですが、このディスクの空き容量は %2 です。ビデオを約 %3 分削除するか、空のディスクを選択してください。</translation>
    </message>
    <message>
        <source>These videos need %1; this drive has %2 free.</source>
        <translation>必要な容量: %1、空き容量: %2。</translation>
    </message>
    <message>
        <source>The image file %1 already holds a disc. Remove or rename it to write a new one.</source>
        <translation>イメージファイル %1 には既にディスクが書き込まれています。新しく書き込むには、ファイルを削除するか名前を変更してください。</translation>
    </message>
    <message>
        <source>The destination drive is no longer available.</source>
        <translation>転送先のドライブを使用できなくなりました。</translation>
    </message>
    <message>
        <source>The disc drive %1 is no longer available.</source>
        <translation>ディスクドライブ %1 を使用できなくなりました。</translation>
    </message>
    <message>
        <source>The USB drive %1 is no longer available.</source>
        <translation>USB ドライブ %1 を使用できなくなりました。</translation>
    </message>
    <message>
        <source>Back to the list</source>
        <translation>一覧に戻る</translation>
    </message>
    <message>
        <source>Whole transfer: %1 %</source>
        <translation>全体: %1%</translation>
    </message>
</context>
<context>
    <name>UDisks2Ejector</name>
    <message>
        <source>the drive is not known to UDisks2</source>
        <translation>UDisks2 がこのドライブを認識していません</translation>
    </message>
</context>
<context>
    <name>USBFileCopier</name>
    <message>
        <source>could not open the video</source>
        <translation>ビデオを開けませんでした</translation>
    </message>
    <message>
        <source>could not read the video</source>
        <translation>ビデオを読み込めませんでした</translation>
    </message>
    <message>
        <source>the video is not a regular file</source>
        <translation>ビデオが通常のファイルではありません</translation>
    </message>
    <message>
        <source>no free file name on the drive</source>
        <translation>ドライブに使用できるファイル名がありません</translation>
    </message>
    <message>
        <source>could not create the file on the drive</source>
        <translation>ドライブにファイルを作成できませんでした</translation>
    </message>
    <message>
        <source>could not copy to the drive</source>
        <translation>ドライブにコピーできませんでした</translation>
    </message>
    <message>
        <source>could not write to the drive</source>
        <translation>ドライブに書き込めませんでした</translation>
    </message>
    <message>
        <source>the video became shorter while it was copied</source>
        <translation>コピー中にビデオが短くなりました</translation>
    </message>
    <message>
        <source>could not finish writing to the drive</source>
        <translation>ドライブへの書き込みを完了できませんでした</translation>
    </message>
    <message>
        <source>could not name the file on the drive</source>
        <translation>ドライブ上のファイルに名前を付けられませんでした</translation>
    </message>
    <message>
        <source>could not finish writing the folder on the drive</source>
        <translation>ドライブ上のフォルダーの書き込みを完了できませんでした</translation>
    </message>
    <message>
        <source>the drive&apos;s FAT file system cannot store files of 4 GB or more</source>
        <translation>ドライブの FAT ファイル システムには 4 GB 以上のファイルを保存できません</translation>
    </message>
</context>
<context>
    <name>UnattendedTransfer</name>
    <message>
        <source>portavo: nothing was transferred: %1</source>
        <translation>portavo: 何も転送されませんでした: %1</translation>
    </message>
    <message>
        <source>this device needs a transcode profile: give -profile 0, 1, 3 or 4</source>
        <translation>このデバイスには変換プロファイルが必要です。-profile 0、1、3、4 のいずれかを指定してください</translation>
    </message>
    <message>
        <source>%1 is not a USB drive, an &quot;ExtraDrives&quot; folder or an image burner</source>
        <translation>%1 は USB ドライブ、&quot;ExtraDrives&quot; フォルダー、イメージ書き込み先のいずれでもありません</translation>
    </message>
    <message>
        <source>none of the files exists</source>
        <translation>どのファイルも存在しません</translation>
    </message>
    <message>
        <source>none of the files can be transferred</source>
        <translation>転送できるファイルがありません</translation>
    </message>
    <message>
        <source>portavo: %1 could not be converted (error %2)</source>
        <translation>portavo: %1 を変換できませんでした (エラー %2)</translation>
    </message>
    <message>
        <source>the file was not found</source>
        <translation>ファイルが見つかりませんでした</translation>
    </message>
    <message>
        <source>the file is not a video that can be transferred</source>
        <translation>このファイルは転送できるビデオではありません</translation>
    </message>
    <message>
        <source>the transfer stopped before this file was written</source>
        <translation>このファイルを書き込む前に転送が停止しました</translation>
    </message>
    <message>
        <source>the transfer could not be started</source>
        <translation>転送を開始できませんでした</translation>
    </message>
    <message>
        <source>portavo: closed the message &quot;%1&quot;</source>
        <translation>portavo: メッセージ「%1」を閉じました</translation>
    </message>
    <message>
        <source>portavo: the destination %1 went away during the transfer</source>
        <translation>portavo: 転送中に転送先 %1 が見つからなくなりました</translation>
    </message>
</context>
<context>
    <name>UnsupportedVideoDialog</name>
    <message>
        <source>Unsupported Video</source>
        <translation>サポートされていないビデオ</translation>
    </message>
    <message>
        <source>We are sorry, but Portavo does not support this file type</source>
        <translation>申し訳ありませんが、Portavo はこの種類のファイルに対応していません</translation>
    </message>
    <message>
        <source>Learn more</source>
        <translation>詳細</translation>
    </message>
</context>
<context>
    <name>WindowTitleBar</name>
    <message>
        <source>Minimize</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Minimizes the Portavo window</source>
        <translation>Portavo のウィンドウを最小化します</translation>
    </message>
    <message>
        <source>Closes Portavo</source>
        <translation>Portavo を閉じます</translation>
    </message>
</context>
<context>
    <name>WizardAccessibleNames</name>
    <message>
        <source>Drag to move the window</source>
        <translation>ドラッグしてウィンドウを移動します</translation>
    </message>
    <message>
        <source>Kavo Certified</source>
        <translation>Kavo 認定</translation>
    </message>
    <message>
        <source>Works with any Kavo Certified device</source>
        <translation>すべての Kavo 認定デバイスで動作します</translation>
    </message>
    <message>
        <source>Kavo HD Certified</source>
        <translation>Kavo HD 認定</translation>
    </message>
    <message>
        <source>Only for a Kavo HD Certified device</source>
        <translation>Kavo HD 認定デバイス専用です</translation>
    </message>
    <message>
        <source>Kavo Plus HD Certified</source>
        <translation>Kavo Plus HD 認定</translation>
    </message>
    <message>
        <source>Only for a Kavo Plus HD Certified device</source>
        <translation>Kavo Plus HD 認定デバイス専用です</translation>
    </message>
    <message>
        <source>Help me choose</source>
        <translation>選び方のヒント</translation>
    </message>
    <message>
        <source>Explains the device types</source>
        <translation>デバイスの種類について説明します</translation>
    </message>
    <message>
        <source>Learn more</source>
        <translation>詳細</translation>
    </message>
    <message>
        <source>Explains the transfer methods</source>
        <translation>転送方法について説明します</translation>
    </message>
    <message>
        <source>Videos to transfer</source>
        <translation>転送するビデオ</translation>
    </message>
    <message>
        <source>Delete removes the selected videos. Enter on a video whose time is underlined tells why it takes longer.</source>
        <translation>Delete キーで選択したビデオを削除します。時間に下線があるビデオで Enter キーを押すと、時間がかかる理由を表示します。</translation>
    </message>
    <message>
        <source>Destination drive</source>
        <translation>転送先のドライブ</translation>
    </message>
    <message>
        <source>Space opens the list of drives, the arrow keys choose one</source>
        <translation>Space キーでドライブの一覧を開き、方向キーで選択します</translation>
    </message>
    <message>
        <source>Space used on the destination</source>
        <translation>転送先の使用容量</translation>
    </message>
    <message>
        <source>Open the USB drive</source>
        <translation>USB ドライブを開く</translation>
    </message>
    <message>
        <source>Videos being transferred</source>
        <translation>転送中のビデオ</translation>
    </message>
    <message>
        <source>Transfer progress</source>
        <translation>転送の進行状況</translation>
    </message>
    <message>
        <source>Need Help?</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>Opens the help pages</source>
        <translation>ヘルプ ページを開きます</translation>
    </message>
</context>
<context>
    <name>WizardShell</name>
    <message>
        <source>the command line needs -xfer and -id N</source>
        <translation>コマンド ラインには -xfer と -id N が必要です</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a transcode profile (0, 1, 3 or 4)</source>
        <translation>&quot;%1&quot; は変換プロファイルではありません (0、1、3、4 のいずれか)</translation>
    </message>
    <message>
        <source>Usage: portavo -xfer -id DEVICE [-file URL]... [-activationvideo]
Puts videos on a disc or a USB drive that a home video device can play.
  -xfer             start the transfer wizard (required)
  -id DEVICE        the device to serve (required): 10000 DVD player, 10001 Blu-ray
                    player, 10002 TV, 10003 PlayStation 3, 10004 mobile phone, or
                    the number of a device stored before; 1000 writes the files
                    as they are, without converting them
  -file URL         a video to add, as a file URL (file:///home/alice/a%20b.mp4);
                    repeat it for more videos
  -activationvideo  the videos are activation videos: they go to the top of the list
While the wizard runs, the same command hands further videos to it.
</source>
        <extracomment>command-line help; the switches, numbers and the example address stay as they are</extracomment>
        <translation>使い方: portavo -xfer -id デバイス [-file URL]... [-activationvideo]
家庭用ビデオ機器で再生できるように、ビデオをディスクまたは USB ドライブに書き込みます。
  -xfer             転送ウィザードを起動します (必須)
  -id デバイス      対象のデバイス (必須): 10000 DVD プレーヤー、10001 Blu-ray
                    プレーヤー、10002 テレビ、10003 PlayStation 3、10004 携帯電話、
                    または以前に保存したデバイスの番号。1000 を指定すると、
                    ファイルを変換せずにそのまま書き込みます
  -file URL         追加するビデオをファイル URL で指定します
                    (file:///home/alice/a%20b.mp4)。複数のビデオを追加するには繰り返します
  -activationvideo  アクティベーション ビデオとして追加し、リストの先頭に置きます
ウィザードの実行中は、同じコマンドでさらにビデオを渡せます。
</translation>
    </message>
</context>
</TS>
