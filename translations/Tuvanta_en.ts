<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>TDMAdjust</name>
    <message>
        <source>アナログ速度指令／トルク指令オートオフセット調整</source>
        <translation>Analog Speed/Torque Command Auto Offset Adjustment</translation>
    </message>
    <message>
        <source>アナログトルク加算指令オートオフセット調整</source>
        <translation>Analog Torque Addition Command Auto Offset Adjustment</translation>
    </message>
    <message>
        <source>アラームリセット</source>
        <translation>Alarm Reset</translation>
    </message>
    <message>
        <source>アラームトレースクリア</source>
        <translation>Alarm Trace Clear</translation>
    </message>
    <message>
        <source>アブソリュートエンコーダクリア</source>
        <translation>Absolute Encoder Clear</translation>
    </message>
    <message>
        <source>固定励磁操作</source>
        <translation>Fixed Excitation</translation>
    </message>
    <message>
        <source>アナログ速度指令／トルク指令オートオフセット調整を実行しますか?<byte value="xd"/>
V-REF端子に0Vを入力してください。<byte value="xd"/>
（この調整を実施後は現在の入力電圧を0Vとして入力信号を取り込みます。）</source>
        <translation>Run the analog speed/torque command auto offset adjustment?<byte value="xd"/>
Apply 0 V to the V-REF terminal.<byte value="xd"/>
(After this adjustment the present input voltage is taken as 0 V.)</translation>
    </message>
    <message>
        <source>アナログトルク加算指令オートオフセット調整を実行しますか?<byte value="xd"/>
T-COMP端子に0Vを入力してください。<byte value="xd"/>
（この調整を実施後は現在の入力電圧を0Vとして入力信号を取り込みます。）</source>
        <translation>Run the analog torque addition command auto offset adjustment?<byte value="xd"/>
Apply 0 V to the T-COMP terminal.<byte value="xd"/>
(After this adjustment the present input voltage is taken as 0 V.)</translation>
    </message>
    <message>
        <source>アラームリセットを実行しますか?<byte value="xd"/>
アラームリセットは、発生原因を取り除き安全を確認してから実施してください。</source>
        <translation>Run the alarm reset?<byte value="xd"/>
Remove the cause of the alarm and make sure it is safe before resetting.</translation>
    </message>
    <message>
        <source>アラームトレースクリアを実行しますか?<byte value="xd"/>
過去に発生したアラームデータをクリアします。</source>
        <translation>Run the alarm trace clear?<byte value="xd"/>
The data of past alarms is cleared.</translation>
    </message>
    <message>
        <source>アブソリュートエンコーダクリアを実行しますか?<byte value="xd"/>
アブソリュートエンコーダの多回転データおよびアブソリュートエンコーダ内のアラームをリセットします。</source>
        <translation>Run the absolute encoder clear?<byte value="xd"/>
The multi-turn data of the absolute encoder and the alarms inside the encoder are reset.</translation>
    </message>
    <message>
        <source>固定励磁操作を実行しますか?<byte value="xd"/>
リニアモータに対する固定励磁操作を実施します。<byte value="xd"/>
&quot;OK&quot;をクリックすると、モータが動作します。（約5秒間。動作範囲はリニアモータの種類によって異なります。）<byte value="xd"/>
周囲の安全を十分に確保した上で実施してください。</source>
        <translation>Run the fixed excitation?<byte value="xd"/>
The linear motor is excited with a fixed current.<byte value="xd"/>
When you click &quot;OK&quot; the motor moves (for about 5 seconds; how far depends on the linear motor).<byte value="xd"/>
Make sure the surroundings are safe first.</translation>
    </message>
    <message>
        <source>%1を実行中です。</source>
        <translation>%1 is running.</translation>
    </message>
    <message>
        <source>%1を実行することができません。（準備未完了）</source>
        <translation>%1 cannot be run. (Not ready)</translation>
    </message>
    <message>
        <source>%1を使用することはできません。</source>
        <translation>%1 cannot be used.</translation>
    </message>
    <message>
        <source>%1を正常終了しました。</source>
        <translation>%1 finished normally.</translation>
    </message>
    <message>
        <source>%1を実行できませんでした。</source>
        <translation>%1 could not be carried out.</translation>
    </message>
    <message>
        <source>通信異常です。（軸番号[#%1]）</source>
        <translation>Communication fault. (Axis [#%1])</translation>
    </message>
</context>
<context>
    <name>TDMAlarm</name>
    <message>
        <source>アラーム内容<byte value="xd"/>
(シンボル)</source>
        <translation>Alarm<byte value="xd"/>
(Symbol)</translation>
    </message>
    <message>
        <source>アラーム内容<byte value="xd"/>
(名称)</source>
        <translation>Alarm<byte value="xd"/>
(Name)</translation>
    </message>
    <message>
        <source>アラーム発生時の<byte value="xd"/>
状態</source>
        <translation>State at<byte value="xd"/>
the alarm</translation>
    </message>
    <message>
        <source>サーボアンプのソフトウェアバージョン</source>
        <translation>Servo amplifier software version</translation>
    </message>
    <message>
        <source>発生からの経過時間</source>
        <translation>Time since the alarm</translation>
    </message>
    <message>
        <source>現在の状態</source>
        <translation>Present State</translation>
    </message>
    <message>
        <source>アラーム発生履歴</source>
        <translation>Alarm History</translation>
    </message>
    <message>
        <source>2000時間以上 経過</source>
        <translation>2000 hours or more</translation>
    </message>
    <message>
        <source>%1時間%2分%3秒 経過</source>
        <translation>%1 h %2 min %3 s</translation>
    </message>
</context>
<context>
    <name>TDMJog</name>
    <message>
        <source>速度JOG運転</source>
        <translation>Velocity JOG</translation>
    </message>
    <message>
        <source>パルス送りJOG運転</source>
        <translation>Pulse-feed JOG</translation>
    </message>
    <message>
        <source>オートノッチフィルタチューニング</source>
        <translation>Automatic notch-filter tuning</translation>
    </message>
    <message>
        <source>データ測定＆解析</source>
        <translation>Data measurement &amp; analysis</translation>
    </message>
    <message>
        <source>オートチューニング結果保存</source>
        <translation>Save auto-tuning result</translation>
    </message>
    <message>
        <source>オート制振周波数チューニング</source>
        <translation>Automatic vibration-suppression frequency tuning</translation>
    </message>
    <message>
        <source>速度JOG運転を実行しますか?</source>
        <translation>Run the velocity JOG?</translation>
    </message>
    <message>
        <source>パルス送りJOG運転を実行しますか?<byte value="xd"/>
（パルス送りJOG運転を実行すると、位置偏差はクリアされます。）</source>
        <translation>Run the pulse-feed JOG?<byte value="xd"/>
(Running the pulse-feed JOG clears the position deviation.)</translation>
    </message>
    <message>
        <source>オートノッチフィルタチューニングを実行しますか?</source>
        <translation>Run the automatic notch-filter tuning?</translation>
    </message>
    <message>
        <source>データ測定＆解析を実行しますか?</source>
        <translation>Run the data measurement &amp; analysis?</translation>
    </message>
    <message>
        <source>オートチューニング結果保存を実行しますか?</source>
        <translation>Save the auto-tuning result?</translation>
    </message>
    <message>
        <source>オート制振周波数チューニングを実行しますか?</source>
        <translation>Run the automatic vibration-suppression frequency tuning?</translation>
    </message>
    <message>
        <source>を実行することができません。（準備未完了）</source>
        <translation> cannot be run. (Not ready)</translation>
    </message>
    <message>
        <source>を使用することはできません。</source>
        <translation> cannot be used.</translation>
    </message>
    <message>
        <source>アラーム発生中です。<byte value="xd"/>
サーボオンできません。</source>
        <translation>An alarm is present.<byte value="xd"/>
The servo cannot be switched on.</translation>
    </message>
    <message>
        <source>サーボオンできません。<byte value="xd"/>
サーボアンプの状態を確認してください。</source>
        <translation>The servo cannot be switched on.<byte value="xd"/>
Check the state of the servo amplifier.</translation>
    </message>
    <message>
        <source>オーバートラベル中です。</source>
        <translation>Overtravel.</translation>
    </message>
    <message>
        <source>設定範囲外です。</source>
        <translation>Out of the setting range.</translation>
    </message>
    <message>
        <source>通信可能なサーボアンプが存在しません。</source>
        <translation>No servo amplifier can be reached.</translation>
    </message>
</context>
<context>
    <name>TDMLoadSave</name>
    <message>
        <source>サーボアンプのソフトウェアバージョンが異なるため、転送できないパラメータがあります。<byte value="xd"/>
転送しますか?</source>
        <translation>The software versions of the servo amplifiers differ, so some parameters cannot be transferred.<byte value="xd"/>
Transfer the others?</translation>
    </message>
    <message>
        <source>読み出し中</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>書き込み中</source>
        <translation>Writing</translation>
    </message>
    <message>
        <source>一般パラメータ</source>
        <translation>General parameters</translation>
    </message>
    <message>
        <source>システムパラメータ</source>
        <translation>System parameters</translation>
    </message>
    <message>
        <source>モータパラメータ</source>
        <translation>Motor parameters</translation>
    </message>
    <message>
        <source>サーボアンプの種類が異なります。転送できません。</source>
        <translation>The servo amplifier type differs. The parameters cannot be transferred.</translation>
    </message>
    <message>
        <source>書き込み中です。お待ちください。</source>
        <translation>Writing. Please wait.</translation>
    </message>
    <message>
        <source>読み出し中です。お待ちください。</source>
        <translation>Reading. Please wait.</translation>
    </message>
</context>
<context>
    <name>TDMMachine</name>
    <message>
        <source>データ測定＆解析できません。（異常終了）</source>
        <translation>Data measurement and analysis cannot be done. (Abnormal end)</translation>
    </message>
    <message>
        <source>システムアナリシス設定中です。</source>
        <translation>Setting up the system analysis.</translation>
    </message>
    <message>
        <source>データ測定をしています。</source>
        <translation>Measuring data.</translation>
    </message>
    <message>
        <source>データを読み込み中です。</source>
        <translation>Reading data.</translation>
    </message>
    <message>
        <source>%1時間</source>
        <translation>%1 h </translation>
    </message>
    <message>
        <source>%1分</source>
        <translation>%1 min </translation>
    </message>
    <message>
        <source>%1秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>データを解析中です。しばらくお待ちください。（数秒～数分程度）</source>
        <translation>Analysing the data. Please wait. (From a few seconds to a few minutes)</translation>
    </message>
    <message>
        <source>%1 経過</source>
        <translation>%1 elapsed</translation>
    </message>
    <message>
        <source>%1 ファイルが見つかりません。</source>
        <translation>File %1 was not found.</translation>
    </message>
    <message>
        <source>%1 を削除できません。アクセスできません。</source>
        <translation>Cannot delete %1. It cannot be accessed.</translation>
    </message>
    <message>
        <source>変換ツールを実行できませんでした。</source>
        <translation>The conversion tool could not be run.</translation>
    </message>
    <message>
        <source>%1 を作成できません。</source>
        <translation>Cannot create %1.</translation>
    </message>
    <message>
        <source>システムアナリシスファイルではありません。</source>
        <translation>This is not a system analysis file.</translation>
    </message>
</context>
<context>
    <name>TDMMain</name>
    <message>
        <source>%1<byte value="xd"/>
ファイルに書き込めません。<byte value="xd"/>
%2</source>
        <translation>%1<byte value="xd"/>
Cannot write to the file.<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
ファイルを開けません。<byte value="xd"/>
%2</source>
        <translation>%1<byte value="xd"/>
Cannot open the file.<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>アンプファイルが壊れています。</source>
        <translation>The amplifier file is broken.</translation>
    </message>
</context>
<context>
    <name>TDMMakerLoad</name>
    <message>
        <source>パラメータレベル500未満をロードします。<byte value="xd"/>
（P1基板種別・アラーム履歴・オフセット調整値・Reserve領域はロードされません）</source>
        <translation>Loads the parameter levels below 500.<byte value="xd"/>
(The P1 board type, the alarm history, the offset adjustments and the reserve area are not loaded.)</translation>
    </message>
    <message>
        <source>パラメータレベル800,900以外をロードします。<byte value="xd"/>
（オフセット調整値はロードされません）<byte value="xd"/>
出荷検査時以外は使用禁止</source>
        <translation>Loads every parameter level but 800 and 900.<byte value="xd"/>
(The offset adjustments are not loaded.)<byte value="xd"/>
For shipping inspection only.</translation>
    </message>
    <message>
        <source>全ての領域をロードします。<byte value="xd"/>
（オフセット調整値もロードされます）<byte value="xd"/>
出荷検査時以外は使用禁止</source>
        <translation>Loads every area.<byte value="xd"/>
(The offset adjustments are loaded too.)<byte value="xd"/>
For shipping inspection only.</translation>
    </message>
    <message>
        <source>[%1] から 軸番号[#%2] にロードします。<byte value="xd"/>
よろしいですか?</source>
        <translation>Loads [%1] into axis [#%2].<byte value="xd"/>
Continue?</translation>
    </message>
    <message>
        <source>サーボアンプの種類が異なります。ロードできません。</source>
        <translation>The servo amplifier type differs. The file cannot be loaded.</translation>
    </message>
    <message>
        <source>サーボアンプのソフトウェアバージョンが異なるため、ロードできないパラメータがあります。<byte value="xd"/>
ロードしますか?</source>
        <translation>The servo amplifier software versions differ, so some parameters cannot be loaded.<byte value="xd"/>
Load anyway?</translation>
    </message>
    <message>
        <source>書き込み中</source>
        <translation>Writing</translation>
    </message>
    <message>
        <source>書き込み中です。お待ちください。</source>
        <translation>Writing. Please wait.</translation>
    </message>
    <message>
        <source>アドレス[%1]への書き込みに失敗しました。ロードを中止しました。</source>
        <translation>Writing to address [%1] failed. The load was stopped.</translation>
    </message>
</context>
<context>
    <name>TDMMonitor</name>
    <message>
        <source>ﾍﾟｰｼﾞ</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>シンボル</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>現在値</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>単位</source>
        <translation>Unit</translation>
    </message>
</context>
<context>
    <name>TDMMotorParameter</name>
    <message>
        <source>アンプ容量</source>
        <translation>Amplifier capacity</translation>
    </message>
    <message>
        <source>モータ構造</source>
        <translation>Motor structure</translation>
    </message>
    <message>
        <source>主回路電源入力電圧</source>
        <translation>Main circuit input voltage</translation>
    </message>
    <message>
        <source>モータエンコーダタイプ</source>
        <translation>Motor encoder type</translation>
    </message>
    <message>
        <source>インクリメンタルエンコーダ機能選択</source>
        <translation>Incremental encoder function</translation>
    </message>
    <message>
        <source>インクリメンタルエンコーダ分解能</source>
        <translation>Incremental encoder resolution</translation>
    </message>
    <message>
        <source>アブソリュートエンコーダ機能選択</source>
        <translation>Absolute encoder function</translation>
    </message>
    <message>
        <source>アブソリュートエンコーダ分解能</source>
        <translation>Absolute encoder resolution</translation>
    </message>
    <message>
        <source>モータパラメータファイルが壊れています。</source>
        <translation>The motor parameter file is broken.</translation>
    </message>
    <message>
        <source>選択されたモータパラメータファイルは種類が異なります。</source>
        <translation>The selected motor parameter file is of another kind.</translation>
    </message>
    <message>
        <source>組合せモータ型番</source>
        <translation>Combined motor model</translation>
    </message>
</context>
<context>
    <name>TDMMultiMonitor</name>
    <message>
        <source>軸番号</source>
        <translation>Axis</translation>
    </message>
</context>
<context>
    <name>TDMMultiMonitorSet</name>
    <message>
        <source>No.%1 の軸番号と表示パラメータを選択してください。</source>
        <translation>No.%1: choose the axis number and the display parameter.</translation>
    </message>
</context>
<context>
    <name>TDMParameterBase</name>
    <message>
        <source>読み出し中</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>読み出し中です。お待ちください。</source>
        <translation>Reading, please wait.</translation>
    </message>
    <message>
        <source>アンプ定義ファイルが壊れています。</source>
        <translation>The amplifier definition file is broken.</translation>
    </message>
    <message>
        <source>書き込み中</source>
        <translation>Writing</translation>
    </message>
    <message>
        <source>書き込み中です。お待ちください。</source>
        <translation>Writing. Please wait.</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
ファイルに含まれていないパラメータのため、保存できません。</source>
        <translation>%1<byte value="xd"/>
These parameters are not in the file and cannot be saved.</translation>
    </message>
</context>
<context>
    <name>TDMSystemParameter</name>
    <message>
        <source>アンプ容量</source>
        <translation>Amplifier capacity</translation>
    </message>
    <message>
        <source>モータ構造</source>
        <translation>Motor structure</translation>
    </message>
    <message>
        <source>制御電源入力電圧</source>
        <translation>Control power input voltage</translation>
    </message>
    <message>
        <source>制御電源入力種別</source>
        <translation>Control power input kind</translation>
    </message>
    <message>
        <source>主回路電源入力電圧</source>
        <translation>Main circuit input voltage</translation>
    </message>
    <message>
        <source>主回路電源入力種別</source>
        <translation>Main circuit input kind</translation>
    </message>
    <message>
        <source>モータエンコーダタイプ</source>
        <translation>Motor encoder type</translation>
    </message>
    <message>
        <source>インクリメンタルエンコーダ機能選択</source>
        <translation>Incremental encoder function</translation>
    </message>
    <message>
        <source>インクリメンタルエンコーダ分解能</source>
        <translation>Incremental encoder resolution</translation>
    </message>
    <message>
        <source>アブソリュートエンコーダ機能選択</source>
        <translation>Absolute encoder function</translation>
    </message>
    <message>
        <source>アブソリュートエンコーダ分解能</source>
        <translation>Absolute encoder resolution</translation>
    </message>
    <message>
        <source>組合せモータ型番</source>
        <translation>Combined motor model</translation>
    </message>
    <message>
        <source>制御モード</source>
        <translation>Control mode</translation>
    </message>
    <message>
        <source>位置ループ制御・位置ループエンコーダ選択</source>
        <translation>Position loop and loop encoder</translation>
    </message>
    <message>
        <source>外部エンコーダ分解能</source>
        <translation>External encoder resolution</translation>
    </message>
    <message>
        <source>回生抵抗選択</source>
        <translation>Regenerative resistor</translation>
    </message>
</context>
<context>
    <name>TDMTrace</name>
    <message>
        <source>運転トレース機能を使用することはできません。</source>
        <translation>The operation trace cannot be used.</translation>
    </message>
    <message>
        <source>トレースデータがありません。</source>
        <translation>There is no trace data.</translation>
    </message>
    <message>
        <source>読み出し中</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>読み出し中です。お待ちください。</source>
        <translation>Reading. Please wait.</translation>
    </message>
    <message>
        <source>現在のボーレート・通信環境では、設定されたサンプリング周期を実現することができません。</source>
        <translation>The set sampling period cannot be achieved at the present bit rate and line conditions.</translation>
    </message>
    <message>
        <source>設定を修正してください。</source>
        <translation>Please correct the settings.</translation>
    </message>
    <message>
        <source>運転トレースファイルではありません。</source>
        <translation>This is not an operation trace file.</translation>
    </message>
</context>
<context>
    <name>TDMTraceSetting</name>
    <message>
        <source>サンプリング周期が設定範囲外です。</source>
        <translation>The sampling period is out of range.</translation>
    </message>
    <message>
        <source>トリガレベルが設定範囲外です。</source>
        <translation>The trigger level is out of range.</translation>
    </message>
    <message>
        <source>トリガ位置が設定範囲外です。</source>
        <translation>The trigger position is out of range.</translation>
    </message>
</context>
<context>
    <name>TDMTran</name>
    <message>
        <source>通信異常です。（軸番号[#%1]）</source>
        <translation>Communication error. (Axis number [#%1])</translation>
    </message>
    <message>
        <source>軸番号が重複しています。（軸番号[#%1]）</source>
        <translation>The axis number is duplicated. (Axis number [#%1])</translation>
    </message>
    <message>
        <source>通信タイムアウト。（軸番号[#%1]）</source>
        <translation>Communication time-out. (Axis number [#%1])</translation>
    </message>
</context>
<context>
    <name>TDMTuning</name>
    <message>
        <source>をクリックするとサーボオフします。</source>
        <translation> turns the servo off.</translation>
    </message>
    <message>
        <source>オートノッチフィルタチューニングを実行中です。</source>
        <translation>Automatic notch filter tuning is running.</translation>
    </message>
    <message>
        <source>オート制振周波数チューニングを実行中です。</source>
        <translation>Automatic vibration suppression frequency tuning is running.</translation>
    </message>
    <message>
        <source>オートノッチフィルタチューニングを正常終了しました。</source>
        <translation>Automatic notch filter tuning has finished normally.</translation>
    </message>
    <message>
        <source>オート制振周波数チューニングを正常終了しました。</source>
        <translation>Automatic vibration suppression frequency tuning has finished normally.</translation>
    </message>
    <message>
        <source>オートノッチフィルタチューニングを実行できませんでした。（異常終了）</source>
        <translation>Automatic notch filter tuning could not be carried out. (Abnormal end)</translation>
    </message>
    <message>
        <source>オート制振周波数チューニングを実行できませんでした。（異常終了）</source>
        <translation>Automatic vibration suppression frequency tuning could not be carried out. (Abnormal end)</translation>
    </message>
    <message>
        <source>通信異常です。（軸番号[#%1]）</source>
        <translation>Communication error. (Axis number [#%1])</translation>
    </message>
    <message>
        <source>制振周波数</source>
        <translation>Vibration suppression frequency</translation>
    </message>
    <message>
        <source>オートチューニング</source>
        <translation>Auto-tuning</translation>
    </message>
    <message>
        <source>オートチューニング(JRATマニュアル設定)</source>
        <translation>Auto-tuning (JRAT set manually)</translation>
    </message>
    <message>
        <source>マニュアルチューニング</source>
        <translation>Manual tuning</translation>
    </message>
    <message>
        <source>位置決め制御1</source>
        <translation>Positioning control 1</translation>
    </message>
    <message>
        <source>位置決め制御2</source>
        <translation>Positioning control 2</translation>
    </message>
    <message>
        <source>位置決め制御3</source>
        <translation>Positioning control 3</translation>
    </message>
    <message>
        <source>軌跡制御1</source>
        <translation>Path control 1</translation>
    </message>
    <message>
        <source>軌跡制御2</source>
        <translation>Path control 2</translation>
    </message>
    <message>
        <source>通信に失敗しました。</source>
        <translation>Communication failed.</translation>
    </message>
    <message>
        <source>中止しました。</source>
        <translation>Cancelled.</translation>
    </message>
</context>
<context>
    <name>TDMUserParameter</name>
    <message>
        <source>スタンダードレベル</source>
        <translation>Standard level</translation>
    </message>
    <message>
        <source>アドバンスドレベル</source>
        <translation>Advanced level</translation>
    </message>
    <message>
        <source>メーカエンジニアレベル</source>
        <translation>Maker engineer level</translation>
    </message>
    <message>
        <source>ベーシックレベル</source>
        <translation>Basic level</translation>
    </message>
    <message>
        <source>読み出し中</source>
        <translation type="vanished">Reading</translation>
    </message>
    <message>
        <source>読み出し中です。お待ちください。</source>
        <translation type="vanished">Reading. Please wait.</translation>
    </message>
    <message>
        <source>アンプ定義ファイルが壊れています。</source>
        <translation type="vanished">The amplifier definition file is corrupt.</translation>
    </message>
    <message>
        <source>書き込み中</source>
        <translation type="vanished">Writing</translation>
    </message>
    <message>
        <source>書き込み中です。お待ちください。</source>
        <translation type="vanished">Writing. Please wait.</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
ファイルに含まれていないパラメータのため、保存できません。</source>
        <translation type="vanished">%1<byte value="xd"/>
These parameters are not in the file and cannot be saved.</translation>
    </message>
    <message>
        <source>ﾍﾟｰｼﾞ</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>シンボル</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>現在設定値</source>
        <translation>Current value</translation>
    </message>
    <message>
        <source>単位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>入力値</source>
        <translation>Input value</translation>
    </message>
    <message>
        <source>下限値</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>上限値</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>標準設定値</source>
        <translation>Standard value</translation>
    </message>
</context>
<context>
    <name>TDMUserParameterEdit</name>
    <message>
        <source>設定範囲外です。</source>
        <translation>The value is out of range.</translation>
    </message>
</context>
<context>
    <name>TDMVerify</name>
    <message>
        <source>読み出し中</source>
        <translation type="vanished">Reading</translation>
    </message>
    <message>
        <source>読み出し中です。お待ちください。</source>
        <translation type="vanished">Reading, please wait.</translation>
    </message>
    <message>
        <source>サーボアンプの種類が異なります。<byte value="xd"/>
照合できません。</source>
        <translation>The kind of servo amplifier differs.<byte value="xd"/>
Verification is not possible.</translation>
    </message>
    <message>
        <source>サーボアンプのソフトウェアバージョンが異なります。<byte value="xd"/>
照合を行いますか?</source>
        <translation>The servo amplifier&apos;s software version differs.<byte value="xd"/>
Verify anyway?</translation>
    </message>
    <message>
        <source>照合中</source>
        <translation>Verifying</translation>
    </message>
    <message>
        <source>照合中です。お待ちください。</source>
        <translation>Verifying, please wait.</translation>
    </message>
    <message>
        <source>ベーシックレベル</source>
        <translation>Basic level</translation>
    </message>
    <message>
        <source>スタンダードレベル</source>
        <translation>Standard level</translation>
    </message>
    <message>
        <source>アドバンスドレベル</source>
        <translation>Advanced level</translation>
    </message>
    <message>
        <source>ﾍﾟｰｼﾞ</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>現在設定値</source>
        <translation>Current value</translation>
    </message>
    <message>
        <source>単位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>パラメータレベル</source>
        <translation>Parameter level</translation>
    </message>
</context>
<context>
    <name>TFMAFTuning</name>
    <message>
        <source>注意 : この機能を使用すると、約30秒間モータが動作します。<byte value="xd"/>
周囲の安全を確保してから実施してください。<byte value="xd"/>
(チューニングにかかる時間は使用条件で短くなることがあります。)</source>
        <translation>Caution: this function moves the motor for about 30 seconds.<byte value="xd"/>
Make sure the surroundings are safe before you start.<byte value="xd"/>
(The tuning may take less time under some conditions.)</translation>
    </message>
    <message>
        <source>チューニング中は保持トルクが低下します。重力軸での使用はご注意ください。</source>
        <translation>The holding torque drops while tuning. Take care on a vertical (gravity) axis.</translation>
    </message>
    <message>
        <source>パラメータ設定</source>
        <translation>Parameter settings</translation>
    </message>
    <message>
        <source>チューニングのトルク(推力)指令値 :</source>
        <translation>Tuning torque (thrust) command :</translation>
    </message>
    <message>
        <source>摩擦トルク(推力)補償量</source>
        <translation>Friction torque (thrust) compensation</translation>
    </message>
</context>
<context>
    <name>TFMANFTuning</name>
    <message>
        <source>注意 : この機能を使用するとモータが動作します。<byte value="xd"/>
周囲の安全を確保してから実施してください。<byte value="xd"/>
チューニング実行中は、保持トルクが低下します。<byte value="xd"/>
重力軸等では、この機能を使用しないでください。</source>
        <translation>Caution: this function moves the motor.<byte value="xd"/>
Make sure the surroundings are safe before you start.<byte value="xd"/>
The holding torque drops while tuning.<byte value="xd"/>
Do not use this function on a vertical (gravity) axis.</translation>
    </message>
    <message>
        <source>パラメータ設定</source>
        <translation>Parameter settings</translation>
    </message>
    <message>
        <source>チューニングのトルク指令値 :</source>
        <translation>Tuning torque command :</translation>
    </message>
</context>
<context>
    <name>TFMANFTuningResult</name>
    <message>
        <source>チューニング結果</source>
        <translation>Tuning result</translation>
    </message>
    <message>
        <source>Okをクリックするとサーボオフします。</source>
        <translation>Clicking OK turns the servo off.</translation>
    </message>
</context>
<context>
    <name>TFMATuningRSV</name>
    <message>
        <source>チューニングモード</source>
        <translation>Tuning mode</translation>
    </message>
    <message>
        <source>オートチューニング特性</source>
        <translation>Auto-tuning characteristic</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>設定パラメータ</source>
        <translation>Parameters to save</translation>
    </message>
    <message>
        <source>オートチューニング応答性</source>
        <translation>Auto-tuning responsiveness</translation>
    </message>
    <message>
        <source>オートチューニングパラメータモニタ値</source>
        <translation>Auto-tuning monitored values</translation>
    </message>
    <message>
        <source>パラメータ設定値</source>
        <translation>Parameter settings</translation>
    </message>
    <message>
        <source>モニタ値を書き込む</source>
        <translation>Write monitored values</translation>
    </message>
    <message>
        <source>オートチューニング応答性は、</source>
        <translation>The auto-tuning responsiveness</translation>
    </message>
    <message>
        <source>この画面上で変更できます。</source>
        <translation>can be changed in this window.</translation>
    </message>
    <message>
        <source>ただし、変更された値はパラメータとして</source>
        <translation>The changed value, however, is not</translation>
    </message>
    <message>
        <source>保存しません。この画面を閉じると</source>
        <translation>saved as a parameter. Closing this window</translation>
    </message>
    <message>
        <source>元の設定値に戻ります。</source>
        <translation>restores the original setting.</translation>
    </message>
</context>
<context>
    <name>TFMAbout</name>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>設定ファイル: %1</source>
        <translation>Settings file: %1</translation>
    </message>
</context>
<context>
    <name>TFMAdjust</name>
    <message>
        <source>サーボアンプ選択</source>
        <translation>Servo Amplifier</translation>
    </message>
    <message>
        <source>サーボアンプ型番 :</source>
        <translation>Servo amplifier model :</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Execute</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>通信可能なサーボアンプが存在しません。</source>
        <translation>No servo amplifier can communicate.</translation>
    </message>
</context>
<context>
    <name>TFMAdjustRun</name>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>経過時間:%1秒</source>
        <translation>Elapsed time: %1 s</translation>
    </message>
</context>
<context>
    <name>TFMAlarm</name>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>アラームリセット(&amp;R)...</source>
        <translation>Alarm &amp;Reset...</translation>
    </message>
    <message>
        <source>アラームトレースクリア(&amp;C)...</source>
        <translation>Alarm Trace &amp;Clear...</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>印刷プレビュー(&amp;V)...</source>
        <translation>Print Pre&amp;view...</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>アンプ(&amp;A)</source>
        <translation>&amp;Amplifier</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>通信可能なサーボアンプが存在しません。</source>
        <translation>No servo amplifier can communicate.</translation>
    </message>
    <message>
        <source>アラーム履歴表示</source>
        <translation>Alarm History</translation>
    </message>
    <message>
        <source>アラーム履歴表示 - [%1]</source>
        <translation>Alarm History - [%1]</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
</context>
<context>
    <name>TFMAxesCheck</name>
    <message>
        <source>通信状態の確認</source>
        <translation>Communication Check</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>State</translation>
    </message>
    <message>
        <source>確認(&amp;C)</source>
        <translation>&amp;Check</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>Not corresponding</source>
        <translation>Not corresponding</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Overlap</source>
        <translation>Overlap</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Not connected</translation>
    </message>
</context>
<context>
    <name>TFMCommSetting</name>
    <message>
        <source>通信設定</source>
        <translation>Communication Settings</translation>
    </message>
    <message>
        <source>ポート番号のデバイスを使用</source>
        <translation>device of the port number</translation>
    </message>
    <message>
        <source>通信ポート</source>
        <translation>Communication port</translation>
    </message>
    <message>
        <source>ポート</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>デバイス</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>通信速度</source>
        <translation>Bit rate</translation>
    </message>
    <message>
        <source>軸番号選択</source>
        <translation>Axis selection</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>接続されているシリアルデバイスを探し直します</source>
        <translation>Look again for the serial devices that are connected</translation>
    </message>
    <message>
        <source>検出されたデバイス</source>
        <translation>Devices found</translation>
    </message>
    <message>
        <source>シリアルデバイスが見つかりません</source>
        <translation>No serial device found</translation>
    </message>
    <message>
        <source>一覧から選択</source>
        <translation>Choose from the list</translation>
    </message>
</context>
<context>
    <name>TFMEnvironment</name>
    <message>
        <source>パラメータ表示レベル</source>
        <translation>Parameter Display Level</translation>
    </message>
    <message>
        <source>表示レベル</source>
        <translation>Display level</translation>
    </message>
    <message>
        <source>ベーシックレベル</source>
        <translation>Basic level</translation>
    </message>
    <message>
        <source>スタンダードレベル</source>
        <translation>Standard level</translation>
    </message>
    <message>
        <source>アドバンスドレベル</source>
        <translation>Advanced level</translation>
    </message>
    <message>
        <source>メーカエンジニアレベル</source>
        <translation>Maker engineer level</translation>
    </message>
    <message>
        <source>使用言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>英語</source>
        <translation>English</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TFMJog</name>
    <message>
        <source>サーボアンプ選択</source>
        <translation>Servo amplifier</translation>
    </message>
    <message>
        <source>サーボアンプ型番 :</source>
        <translation>Amplifier model:</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
</context>
<context>
    <name>TFMLineStats</name>
    <message>
        <source>回線統計</source>
        <translation>Line Statistics</translation>
    </message>
    <message>
        <source>軸番号</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>通信回数</source>
        <translation>Transactions</translation>
    </message>
    <message>
        <source>失敗</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>リトライ含む送信</source>
        <translation>Tries</translation>
    </message>
    <message>
        <source>NAK</source>
        <translation>NAK</translation>
    </message>
    <message>
        <source>タイムアウト</source>
        <translation>Time-outs</translation>
    </message>
    <message>
        <source>チェックエラー</source>
        <translation>Check errors</translation>
    </message>
    <message>
        <source>リセット(&amp;R)</source>
        <translation>&amp;Reset</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>合計</source>
        <translation>Total</translation>
    </message>
</context>
<context>
    <name>TFMLineView</name>
    <message>
        <source>軸番号</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>State</translation>
    </message>
    <message>
        <source>機種</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>アンプコード</source>
        <translation>Amplifier code</translation>
    </message>
    <message>
        <source>オンライン: 使用する軸の状態 (最後の通信状態の確認による)</source>
        <translation>Online: axes in use (as of the last communication check)</translation>
    </message>
    <message>
        <source>オフライン: 使用する軸は通信設定で選びます</source>
        <translation>Offline: choose the axes to use in the communication settings</translation>
    </message>
    <message>
        <source>オフライン</source>
        <translation>Offline</translation>
    </message>
    <message>
        <source>接続</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>未接続</source>
        <translation>Not connected</translation>
    </message>
</context>
<context>
    <name>TFMLoadSave</name>
    <message>
        <source>パラメータの転送 [アンプ-&gt;ファイル]</source>
        <translation>Parameter Transfer [Amplifier-&gt;File]</translation>
    </message>
    <message>
        <source>パラメータの転送 [ファイル-&gt;アンプ]</source>
        <translation>Parameter Transfer [File-&gt;Amplifier]</translation>
    </message>
    <message>
        <source>転送元</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>転送先</source>
        <translation>Destination</translation>
    </message>
    <message>
        <source>転送元のサーボアンプ型番 :</source>
        <translation>Source servo amplifier model :</translation>
    </message>
    <message>
        <source>転送先のサーボアンプ型番 :</source>
        <translation>Destination servo amplifier model :</translation>
    </message>
    <message>
        <source>転送先のファイル名 :</source>
        <translation>Destination file name :</translation>
    </message>
    <message>
        <source>転送元のファイル名 :</source>
        <translation>Source file name :</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>転送するパラメータの種類</source>
        <translation>Parameters to transfer</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Execute</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>通信可能なサーボアンプが存在しません。</source>
        <translation>No servo amplifier can be reached.</translation>
    </message>
    <message>
        <source>パラメータをサーボアンプに書き込みます。<byte value="xd"/>
よろしいですか?</source>
        <translation>The parameters will be written to the servo amplifier.<byte value="xd"/>
Are you sure?</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
ファイルが見つかりません。<byte value="xd"/>
指定したファイル名が正しいかどうか確認してください。</source>
        <translation>%1<byte value="xd"/>
The file cannot be found.<byte value="xd"/>
Check that the file name is correct.</translation>
    </message>
    <message>
        <source>転送終了。</source>
        <translation>Transfer finished.</translation>
    </message>
</context>
<context>
    <name>TFMMachine</name>
    <message>
        <source>CSVファイル (*.%1)</source>
        <translation>CSV files (*.%1)</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>システムアナリシス(&amp;S)</source>
        <translation>&amp;System Analysis</translation>
    </message>
    <message>
        <source>データ測定＆解析開始(&amp;A)...</source>
        <translation>Start Data Measurement &amp;&amp; &amp;Analysis...</translation>
    </message>
    <message>
        <source>一般パラメータ設定(&amp;G)...</source>
        <translation>&amp;General Parameters...</translation>
    </message>
    <message>
        <source>データクリア(&amp;C)</source>
        <translation>&amp;Clear Data</translation>
    </message>
    <message>
        <source>表示設定(&amp;D)...</source>
        <translation>&amp;Display Settings...</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>印刷プレビュー(&amp;V)...</source>
        <translation>Print Pre&amp;view...</translation>
    </message>
    <message>
        <source>プリンタの設定(&amp;S)...</source>
        <translation>Printer &amp;Setup...</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>システムアナリシス使用上の注意(&amp;C)</source>
        <translation>System Analysis &amp;Cautions</translation>
    </message>
    <message>
        <source>軸番号</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>型番</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>モータ :</source>
        <translation>Motor :</translation>
    </message>
    <message>
        <source>アンプ :</source>
        <translation>Amplifier :</translation>
    </message>
    <message>
        <source>システムアナリシス設定</source>
        <translation>System Analysis Settings</translation>
    </message>
    <message>
        <source>トルク（推力）指令 :</source>
        <translation>Torque (thrust) command :</translation>
    </message>
    <message>
        <source>測定周波数 :</source>
        <translation>Measurement frequency :</translation>
    </message>
    <message>
        <source>制御ループパラメータモニタ</source>
        <translation>Control Loop Parameter Monitor</translation>
    </message>
    <message>
        <source>レンジ :</source>
        <translation>Range :</translation>
    </message>
    <message>
        <source>測定中のトルク（推力）制限状態発生率 :</source>
        <translation>Torque (thrust) limit rate during the measurement :</translation>
    </message>
    <message>
        <source>通信可能なサーボアンプが存在しません。</source>
        <translation>There is no servo amplifier that can communicate.</translation>
    </message>
    <message>
        <source>システムアナリシス - [%1]</source>
        <translation>System Analysis - [%1]</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>システムアナリシス</source>
        <translation>System Analysis</translation>
    </message>
    <message>
        <source>縮小インストールされたTuvantaでは、この機能は使用できません。</source>
        <translation>This function cannot be used with a reduced installation of Tuvanta.</translation>
    </message>
</context>
<context>
    <name>TFMMachineColor</name>
    <message>
        <source>システムアナリシス表示設定</source>
        <translation>System Analysis Display Settings</translation>
    </message>
    <message>
        <source>線色 :</source>
        <translation>Line colour :</translation>
    </message>
    <message>
        <source>線幅 :</source>
        <translation>Line width :</translation>
    </message>
    <message>
        <source>マーク :</source>
        <translation>Mark :</translation>
    </message>
    <message>
        <source>グレースケールで印刷する</source>
        <translation>Print in grey scale</translation>
    </message>
</context>
<context>
    <name>TFMMain</name>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>プログラムを終了します</source>
        <translation>Ends the program</translation>
    </message>
    <message>
        <source>通信設定(&amp;S)...</source>
        <translation>Communication &amp;Settings...</translation>
    </message>
    <message>
        <source>通信設定</source>
        <translation>Communication Settings</translation>
    </message>
    <message>
        <source>通信ポート、通信速度、使用する軸番号を設定します</source>
        <translation>Sets the port, the bit rate and the axes in use</translation>
    </message>
    <message>
        <source>オフライン-&gt;オンライン(&amp;N)...</source>
        <translation>Offline-&gt;O&amp;nline...</translation>
    </message>
    <message>
        <source>オンライン</source>
        <translation>Online</translation>
    </message>
    <message>
        <source>通信ポートを開き、サーボアンプとの通信を始めます</source>
        <translation>Opens the port and starts talking to the servo amplifiers</translation>
    </message>
    <message>
        <source>通信状態の確認(&amp;C)...</source>
        <translation>&amp;Communication Check...</translation>
    </message>
    <message>
        <source>通信状態の確認</source>
        <translation>Communication Check</translation>
    </message>
    <message>
        <source>どの軸番号のサーボアンプが応答するかを確認します</source>
        <translation>Checks which axes answer</translation>
    </message>
    <message>
        <source>オンライン-&gt;オフライン(&amp;F)</source>
        <translation>Online-&gt;O&amp;ffline</translation>
    </message>
    <message>
        <source>オフライン</source>
        <translation>Offline</translation>
    </message>
    <message>
        <source>サーボアンプとの通信を終え、通信ポートを閉じます</source>
        <translation>Ends the communication and closes the port</translation>
    </message>
    <message>
        <source>通信リセット(&amp;R)</source>
        <translation>Communication &amp;Reset</translation>
    </message>
    <message>
        <source>通信リセット</source>
        <translation>Communication reset</translation>
    </message>
    <message>
        <source>通信ラインをリセットし、オフラインにします</source>
        <translation>Resets the line and goes offline</translation>
    </message>
    <message>
        <source>一般パラメータ設定(&amp;G)...</source>
        <translation>&amp;General Parameters...</translation>
    </message>
    <message>
        <source>一般パラメータ</source>
        <translation>General parameters</translation>
    </message>
    <message>
        <source>一般パラメータを表示、編集します</source>
        <translation>Shows and edits the general parameters</translation>
    </message>
    <message>
        <source>システムパラメータ設定(&amp;S)...</source>
        <translation>&amp;System Parameters...</translation>
    </message>
    <message>
        <source>システムパラメータ</source>
        <translation>System parameters</translation>
    </message>
    <message>
        <source>システムパラメータを表示、編集します</source>
        <translation>Shows and edits the system parameters</translation>
    </message>
    <message>
        <source>モータパラメータ設定(&amp;M)...</source>
        <translation>&amp;Motor Parameters...</translation>
    </message>
    <message>
        <source>モータパラメータ</source>
        <translation>Motor parameters</translation>
    </message>
    <message>
        <source>モータパラメータを表示、編集します</source>
        <translation>Shows and edits the motor parameters</translation>
    </message>
    <message>
        <source>パラメータの転送 [アンプ-&gt;ファイル](&amp;F)...</source>
        <translation>Parameter Transfer [Amplifier-&gt;&amp;File]...</translation>
    </message>
    <message>
        <source>アンプ-&gt;ファイル</source>
        <translation>Amplifier-&gt;File</translation>
    </message>
    <message>
        <source>サーボアンプのパラメータをファイルに保存します</source>
        <translation>Saves the amplifier&apos;s parameters to a file</translation>
    </message>
    <message>
        <source>パラメータの転送 [ファイル-&gt;アンプ](&amp;A)...</source>
        <translation>Parameter Transfer [File-&gt;&amp;Amplifier]...</translation>
    </message>
    <message>
        <source>ファイル-&gt;アンプ</source>
        <translation>File-&gt;Amplifier</translation>
    </message>
    <message>
        <source>ファイルのパラメータをサーボアンプに書き込みます</source>
        <translation>Writes a file&apos;s parameters to the amplifier</translation>
    </message>
    <message>
        <source>モニタ表示(&amp;D)...</source>
        <translation>Monitor &amp;Display...</translation>
    </message>
    <message>
        <source>モニタ表示</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>サーボアンプのモニタ値を表示します</source>
        <translation>Shows the amplifier&apos;s monitor values</translation>
    </message>
    <message>
        <source>マルチモニタ表示(&amp;M)...</source>
        <translation>&amp;Multi-Monitor...</translation>
    </message>
    <message>
        <source>マルチモニタ表示</source>
        <translation>Multi-monitor</translation>
    </message>
    <message>
        <source>複数のサーボアンプのモニタ値を並べて表示します</source>
        <translation>Shows monitor values of several amplifiers side by side</translation>
    </message>
    <message>
        <source>アラーム履歴表示(&amp;A)...</source>
        <translation>&amp;Alarm History...</translation>
    </message>
    <message>
        <source>アラーム履歴</source>
        <translation>Alarm history</translation>
    </message>
    <message>
        <source>現在のアラームとアラーム履歴を表示します</source>
        <translation>Shows the present alarm and the alarm history</translation>
    </message>
    <message>
        <source>速度JOG運転(&amp;J)...</source>
        <translation>Velocity &amp;JOG...</translation>
    </message>
    <message>
        <source>速度JOG運転</source>
        <translation>Velocity JOG</translation>
    </message>
    <message>
        <source>速度指令でモータを試運転します</source>
        <translation>Test-runs the motor by a speed command</translation>
    </message>
    <message>
        <source>パルス送りJOG運転(&amp;P)...</source>
        <translation>&amp;Pulse-Feed JOG...</translation>
    </message>
    <message>
        <source>パルス送りJOG運転</source>
        <translation>Pulse-feed JOG</translation>
    </message>
    <message>
        <source>パルス送りでモータを試運転します</source>
        <translation>Test-runs the motor by pulse feed</translation>
    </message>
    <message>
        <source>オートノッチフィルタチューニング(&amp;N)...</source>
        <translation>Auto &amp;Notch-Filter Tuning...</translation>
    </message>
    <message>
        <source>オートノッチフィルタ</source>
        <translation>Auto notch filter</translation>
    </message>
    <message>
        <source>ノッチフィルタを自動で調整します</source>
        <translation>Tunes the notch filter automatically</translation>
    </message>
    <message>
        <source>オート周波数チューニング(&amp;F)</source>
        <translation>Auto &amp;Frequency Tuning</translation>
    </message>
    <message>
        <source>オート制振周波数チューニング</source>
        <translation>Auto vibration-suppression frequency tuning</translation>
    </message>
    <message>
        <source>制振周波数を自動で調整します</source>
        <translation>Tunes the vibration-suppression frequency automatically</translation>
    </message>
    <message>
        <source>オートチューニング結果保存(&amp;G)</source>
        <translation>Save Auto-Tunin&amp;g Result</translation>
    </message>
    <message>
        <source>オートチューニング結果保存</source>
        <translation>Save auto-tuning result</translation>
    </message>
    <message>
        <source>オートチューニングの結果をパラメータに保存します</source>
        <translation>Saves the auto-tuning result into the parameters</translation>
    </message>
    <message>
        <source>システムアナリシス(&amp;S)...</source>
        <translation>&amp;System Analysis...</translation>
    </message>
    <message>
        <source>システムアナリシス</source>
        <translation>System analysis</translation>
    </message>
    <message>
        <source>機械の周波数特性を測定し、表示します</source>
        <translation>Measures and shows the machine&apos;s frequency response</translation>
    </message>
    <message>
        <source>固定励磁操作(&amp;E)...</source>
        <translation>Fixed &amp;Excitation...</translation>
    </message>
    <message>
        <source>固定励磁操作</source>
        <translation>Fixed excitation</translation>
    </message>
    <message>
        <source>モータを固定励磁します</source>
        <translation>Excites the motor with a fixed phase</translation>
    </message>
    <message>
        <source>アナログオフセット調整(V-REF)(&amp;V)...</source>
        <translation>Analog Offset Adjustment (&amp;V-REF)...</translation>
    </message>
    <message>
        <source>オフセット調整(V-REF)</source>
        <translation>Offset adjustment (V-REF)</translation>
    </message>
    <message>
        <source>アナログ速度/トルク指令のオフセットを調整します</source>
        <translation>Adjusts the offset of the analog speed/torque command</translation>
    </message>
    <message>
        <source>アナログオフセット調整(T-COMP)(&amp;T)...</source>
        <translation>Analog Offset Adjustment (&amp;T-COMP)...</translation>
    </message>
    <message>
        <source>オフセット調整(T-COMP)</source>
        <translation>Offset adjustment (T-COMP)</translation>
    </message>
    <message>
        <source>アナログトルク加算指令のオフセットを調整します</source>
        <translation>Adjusts the offset of the analog torque-addition command</translation>
    </message>
    <message>
        <source>アラームリセット(&amp;R)...</source>
        <translation>Alarm &amp;Reset...</translation>
    </message>
    <message>
        <source>アラームリセット</source>
        <translation>Alarm reset</translation>
    </message>
    <message>
        <source>サーボアンプのアラームをリセットします</source>
        <translation>Resets the amplifier&apos;s alarm</translation>
    </message>
    <message>
        <source>アブソリュートエンコーダクリア(&amp;A)...</source>
        <translation>&amp;Absolute Encoder Clear...</translation>
    </message>
    <message>
        <source>アブソリュートエンコーダクリア</source>
        <translation>Absolute encoder clear</translation>
    </message>
    <message>
        <source>アブソリュートエンコーダの多回転データをクリアします</source>
        <translation>Clears the absolute encoder&apos;s multi-turn data</translation>
    </message>
    <message>
        <source>運転トレース(&amp;O)...</source>
        <translation>&amp;Operation Trace...</translation>
    </message>
    <message>
        <source>運転トレース</source>
        <translation>Operation trace</translation>
    </message>
    <message>
        <source>運転中の波形を記録し、表示します</source>
        <translation>Records and shows waveforms during operation</translation>
    </message>
    <message>
        <source>ダイレクトパラメータ設定(&amp;P)...</source>
        <translation>Direct &amp;Parameters...</translation>
    </message>
    <message>
        <source>ダイレクトパラメータ</source>
        <translation>Direct parameters</translation>
    </message>
    <message>
        <source>アドレスを指定してメモリを読み書きします</source>
        <translation>Reads and writes memory by address</translation>
    </message>
    <message>
        <source>ダイレクトモニタ(&amp;M)...</source>
        <translation>Direct &amp;Monitor...</translation>
    </message>
    <message>
        <source>ダイレクトモニタ</source>
        <translation>Direct monitor</translation>
    </message>
    <message>
        <source>アドレスを指定してメモリを監視します</source>
        <translation>Watches memory by address</translation>
    </message>
    <message>
        <source>全領域ロード(&amp;L)...</source>
        <translation>Whole-Area &amp;Load...</translation>
    </message>
    <message>
        <source>全領域ロード</source>
        <translation>Whole-area load</translation>
    </message>
    <message>
        <source>パラメータ領域全体をファイルからロードします</source>
        <translation>Loads the whole parameter area from a file</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>バージョン情報を表示します</source>
        <translation>Shows the version information</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>通信(&amp;C)</source>
        <translation>&amp;Communication</translation>
    </message>
    <message>
        <source>パラメータ(&amp;P)</source>
        <translation>&amp;Parameters</translation>
    </message>
    <message>
        <source>モニタ(&amp;M)</source>
        <translation>&amp;Monitor</translation>
    </message>
    <message>
        <source>試運転と調整(&amp;T)</source>
        <translation>&amp;Test Run and Adjustment</translation>
    </message>
    <message>
        <source>オート制振周波数チューニング(&amp;F)</source>
        <translation>Auto Vibration-Suppression &amp;Frequency Tuning</translation>
    </message>
    <message>
        <source>運転トレース(&amp;O)</source>
        <translation>&amp;Operation Trace</translation>
    </message>
    <message>
        <source>ダイレクトモード(&amp;D)</source>
        <translation>&amp;Direct Mode</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>アンプ定義ファイルが壊れています。</source>
        <translation>The amplifier definition file is broken.</translation>
    </message>
    <message>
        <source>通信ケーブルが接続されていません。</source>
        <translation>The communication cable is not connected.</translation>
    </message>
    <message>
        <source>通信ポートが使用できません。(COM%1)</source>
        <translation>The communication port cannot be used. (COM%1)</translation>
    </message>
    <message>
        <source>回線統計(&amp;T)...</source>
        <translation>Line s&amp;tatistics...</translation>
    </message>
    <message>
        <source>回線統計</source>
        <translation>Line Statistics</translation>
    </message>
    <message>
        <source>軸ごとの送受信回数、リトライ、NAK、タイムアウト、チェックエラーを表示します</source>
        <translation>Shows transactions, retries, NAKs, time-outs and check errors per axis</translation>
    </message>
    <message>
        <source>設</source>
        <comment>tool-bar mark</comment>
        <translation>CS</translation>
    </message>
    <message>
        <source>接</source>
        <comment>tool-bar mark</comment>
        <translation>ON</translation>
    </message>
    <message>
        <source>確</source>
        <comment>tool-bar mark</comment>
        <translation>CC</translation>
    </message>
    <message>
        <source>断</source>
        <comment>tool-bar mark</comment>
        <translation>OF</translation>
    </message>
    <message>
        <source>一般</source>
        <comment>tool-bar mark</comment>
        <translation>GP</translation>
    </message>
    <message>
        <source>シス</source>
        <comment>tool-bar mark</comment>
        <translation>SP</translation>
    </message>
    <message>
        <source>モ</source>
        <comment>tool-bar mark</comment>
        <translation>MP</translation>
    </message>
    <message>
        <source>保</source>
        <comment>tool-bar mark</comment>
        <translation>AF</translation>
    </message>
    <message>
        <source>書</source>
        <comment>tool-bar mark</comment>
        <translation>FA</translation>
    </message>
</context>
<context>
    <name>TFMMakerLoad</name>
    <message>
        <source>ロード選択</source>
        <translation>Load selection</translation>
    </message>
    <message>
        <source>全領域ロード1</source>
        <translation>Whole-area load 1</translation>
    </message>
    <message>
        <source>全領域ロード2</source>
        <translation>Whole-area load 2</translation>
    </message>
    <message>
        <source>全領域ロード3</source>
        <translation>Whole-area load 3</translation>
    </message>
</context>
<context>
    <name>TFMMeasurement</name>
    <message>
        <source>システムアナリシス設定</source>
        <translation>System Analysis Settings</translation>
    </message>
    <message>
        <source>トルク（推力）指令 :</source>
        <translation>Torque (thrust) command :</translation>
    </message>
    <message>
        <source>測定周波数 :</source>
        <translation>Measurement frequency :</translation>
    </message>
    <message>
        <source>データ測定実行</source>
        <translation>Data Measurement</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Execute</translation>
    </message>
    <message>
        <source>データ測定終了時のオプション</source>
        <translation>Option at the End of the Measurement</translation>
    </message>
    <message>
        <source>制御ループパラメータモニタ</source>
        <translation>Control Loop Parameter Monitor</translation>
    </message>
    <message>
        <source>注意 : この機能を使用するとモータが動作します。<byte value="xd"/>
周囲の安全を確保してから実施してください。</source>
        <translation>Caution : This function moves the motor.<byte value="xd"/>
Make sure the surroundings are safe before you run it.</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>トルク（推力）指令が設定範囲外です。</source>
        <translation>The torque (thrust) command is out of range.</translation>
    </message>
    <message>
        <source>測定周波数が設定範囲外です。</source>
        <translation>The measurement frequency is out of range.</translation>
    </message>
    <message>
        <source>データ測定を正常終了しました。</source>
        <translation>The data measurement ended normally.</translation>
    </message>
    <message>
        <source>&quot;OK&quot;をクリックするとデータ測定を終了し、解析を開始します。(データ測定終了時はサーボオフします。)</source>
        <translation>Click &quot;OK&quot; to end the data measurement and start the analysis. (The servo is switched off at the end of the measurement.)</translation>
    </message>
</context>
<context>
    <name>TFMMonitor</name>
    <message>
        <source>モニタ表示</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>通信可能なサーボアンプが存在しません。<byte value="xd"/>
モニタ表示を終了します。</source>
        <translation>No servo amplifier can communicate.<byte value="xd"/>
The monitor closes.</translation>
    </message>
</context>
<context>
    <name>TFMMotorParameter</name>
    <message>
        <source>モータパラメータ設定</source>
        <translation>Motor Parameters</translation>
    </message>
    <message>
        <source>システム</source>
        <translation>System</translation>
    </message>
    <message>
        <source>モータ設定</source>
        <translation>Motor setting</translation>
    </message>
    <message>
        <source>一覧からモータを選択(&amp;M)...</source>
        <translation>Choose a &amp;Motor from the List...</translation>
    </message>
</context>
<context>
    <name>TFMMotorSelect</name>
    <message>
        <source>モータ選択</source>
        <translation>Motor Selection</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TFMMultiMonitor</name>
    <message>
        <source>マルチモニタ表示</source>
        <translation>Multi-monitor</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>表示設定(&amp;S)...</source>
        <translation>&amp;Settings...</translation>
    </message>
</context>
<context>
    <name>TFMMultiMonitorSet</name>
    <message>
        <source>マルチモニタ表示設定</source>
        <translation>Multi-monitor settings</translation>
    </message>
    <message>
        <source>No. %1 :</source>
        <translation>No. %1 :</translation>
    </message>
    <message>
        <source>軸番号 :</source>
        <translation>Axis :</translation>
    </message>
    <message>
        <source>表示パラメータ :</source>
        <translation>Item :</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TFMOpeners</name>
    <message>
        <source>この機能はこの版ではまだ使用できません</source>
        <translation>This function is not available in this version yet</translation>
    </message>
</context>
<context>
    <name>TFMPJogRun</name>
    <message>
        <source>注意 : この機能を使用するとモータが動作します。<byte value="xd"/>
周囲の安全を確保してから実施してください。<byte value="xd"/>
パルス送りJOG運転終了時、位置偏差をクリアします。</source>
        <translation>Caution: this function makes the motor move.<byte value="xd"/>
Make sure the surroundings are safe before you run it.<byte value="xd"/>
The position deviation is cleared when the pulse-feed JOG ends.</translation>
    </message>
    <message>
        <source>パラメータ設定</source>
        <translation>Parameter settings</translation>
    </message>
    <message>
        <source>送りパルス量 :</source>
        <translation>Feed amount:</translation>
    </message>
    <message>
        <source>移動速度 :</source>
        <translation>Feed speed:</translation>
    </message>
    <message>
        <source>パルス送りJOG運転中は、電子ギア設定=1/1、指令逓倍設定=1となります。</source>
        <translation>During the pulse-feed JOG the electronic gear is 1/1 and the command multiplier 1.</translation>
    </message>
    <message>
        <source>（サーボオフ中は偏差クリアします）</source>
        <translation>(The deviation is cleared while the servo is off)</translation>
    </message>
    <message>
        <source>ジョグ運転実行</source>
        <translation>JOG run</translation>
    </message>
    <message>
        <source>正方向送り</source>
        <translation>Forward feed</translation>
    </message>
    <message>
        <source>逆方向送り</source>
        <translation>Reverse feed</translation>
    </message>
    <message>
        <source>停止＆偏差クリア</source>
        <translation>Stop &amp;&amp; clear deviation</translation>
    </message>
    <message>
        <source>モニタ表示</source>
        <translation>Monitors</translation>
    </message>
    <message>
        <source>現在位置モニタ APMON :</source>
        <translation>Current position APMON:</translation>
    </message>
    <message>
        <source>位置偏差モニタ PMON :</source>
        <translation>Position deviation PMON:</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation type="vanished">&amp;Close</translation>
    </message>
    <message>
        <source>パルス送りJOG運転ができない設定値です。<byte value="xd"/>
送りパルス量、移動速度を変更してください。</source>
        <translation>These settings do not allow a pulse feed.<byte value="xd"/>
Change the feed amount or the feed speed.</translation>
    </message>
</context>
<context>
    <name>TFMParameterFileDialog</name>
    <message>
        <source>アンプファイル (*.%1)|*.%2</source>
        <translation>Amplifier file (*.%1)|*.%2</translation>
    </message>
</context>
<context>
    <name>TFMParameterWindow</name>
    <message>
        <source>パラメータをサーボアンプに書き込みます。<byte value="xd"/>
よろしいですか?</source>
        <translation>The parameters will be written to the servo amplifier.<byte value="xd"/>
Are you sure?</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>アンプから読み出し(&amp;R)</source>
        <translation>&amp;Read from Amplifier</translation>
    </message>
    <message>
        <source>アンプに書き込み(&amp;W)</source>
        <translation>&amp;Write to Amplifier</translation>
    </message>
    <message>
        <source>通信状態の確認(&amp;C)...</source>
        <translation>&amp;Communication Check...</translation>
    </message>
    <message>
        <source>パラメータの転送 [アンプ-&gt;ファイル](&amp;F)...</source>
        <translation>Parameter Transfer [Amplifier-&gt;&amp;File]...</translation>
    </message>
    <message>
        <source>パラメータの転送 [ファイル-&gt;アンプ](&amp;A)...</source>
        <translation>Parameter Transfer [File-&gt;&amp;Amplifier]...</translation>
    </message>
    <message>
        <source>パラメータの照合(&amp;M)...</source>
        <translation>Parameter Co&amp;mparison...</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>印刷プレビュー(&amp;V)...</source>
        <translation>Print Pre&amp;view...</translation>
    </message>
    <message>
        <source>プリンタの設定(&amp;S)...</source>
        <translation>Printer &amp;Setup...</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>アンプ(&amp;A)</source>
        <translation>&amp;Amplifier</translation>
    </message>
    <message>
        <source>ディスク(&amp;D)</source>
        <translation>&amp;Disk</translation>
    </message>
    <message>
        <source>通信可能なサーボアンプが存在しません。</source>
        <translation>No servo amplifier can be reached.</translation>
    </message>
    <message>
        <source>%1 - [%2]</source>
        <translation>%1 - [%2]</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>パラメータが変更されています。<byte value="xd"/>
変更をファイルに保存しますか?</source>
        <translation>The parameters have been changed.<byte value="xd"/>
Save the changes to the file?</translation>
    </message>
    <message>
        <source>パラメータが変更されています。<byte value="xd"/>
変更をサーボアンプに書き込みますか?</source>
        <translation>The parameters have been changed.<byte value="xd"/>
Write the changes to the servo amplifier?</translation>
    </message>
    <message>
        <source>パラメータをファイルに保存します。<byte value="xd"/>
よろしいですか?</source>
        <translation>The parameters will be saved to the file.<byte value="xd"/>
Continue?</translation>
    </message>
    <message>
        <source>サーボアンプと通信できません。<byte value="xd"/>
入力値はサーボアンプに書き込まれていません。</source>
        <translation>Cannot communicate with the servo amplifier.<byte value="xd"/>
The input values have not been written to the servo amplifier.</translation>
    </message>
</context>
<context>
    <name>TFMProgress</name>
    <message>
        <source>サーボオフ</source>
        <translation>Servo Off</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Abort</translation>
    </message>
</context>
<context>
    <name>TFMRunBase</name>
    <message>
        <source>終了時の動作選択</source>
        <translation>Action at the end</translation>
    </message>
    <message>
        <source>終了時、「試運転終了アラーム」にしない</source>
        <translation>At the end, do not raise the &quot;test-run end alarm&quot;</translation>
    </message>
    <message>
        <source>終了時、「試運転終了アラーム」にする</source>
        <translation>At the end, raise the &quot;test-run end alarm&quot;</translation>
    </message>
    <message>
        <source>モータ励磁</source>
        <translation>Motor excitation</translation>
    </message>
    <message>
        <source>サーボオン</source>
        <translation>Servo on</translation>
    </message>
    <message>
        <source>サーボオフ</source>
        <translation>Servo off</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>書き込み</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>編集中止</source>
        <translation>Cancel edit</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>TFMSampling</name>
    <message>
        <source>サンプリング停止(&amp;S)</source>
        <translation>&amp;Stop Sampling</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>サンプリング中（トリガ待ち）</source>
        <translation>Sampling (waiting for trigger)</translation>
    </message>
    <message>
        <source>サンプリング中です。</source>
        <translation>Sampling.</translation>
    </message>
    <message>
        <source>サンプリング中（トリガ発生）</source>
        <translation>Sampling (triggered)</translation>
    </message>
    <message>
        <source>残り時間 : </source>
        <translation>Time left: </translation>
    </message>
</context>
<context>
    <name>TFMSystemParameter</name>
    <message>
        <source>システムパラメータ設定</source>
        <translation>System Parameters</translation>
    </message>
    <message>
        <source>編集(&amp;E)...</source>
        <translation>&amp;Edit...</translation>
    </message>
</context>
<context>
    <name>TFMTrace</name>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>CSV形式で書き出し(&amp;E)...</source>
        <translation>&amp;Export as CSV...</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>運転トレース(&amp;O)</source>
        <translation>&amp;Operation Trace</translation>
    </message>
    <message>
        <source>トレース開始＋データ読み出し(&amp;T)</source>
        <translation>Start &amp;Trace and Read Data</translation>
    </message>
    <message>
        <source>トレース開始(&amp;S)</source>
        <translation>&amp;Start Trace</translation>
    </message>
    <message>
        <source>データ読み出し(&amp;R)</source>
        <translation>&amp;Read Data</translation>
    </message>
    <message>
        <source>モニタ開始(&amp;M)</source>
        <translation>Start &amp;Monitor</translation>
    </message>
    <message>
        <source>モニタ停止(&amp;P)</source>
        <translation>Sto&amp;p Monitor</translation>
    </message>
    <message>
        <source>トレースデータクリア(&amp;C)</source>
        <translation>&amp;Clear Trace Data</translation>
    </message>
    <message>
        <source>運転トレース設定(&amp;E)...</source>
        <translation>Trac&amp;e Settings...</translation>
    </message>
    <message>
        <source>運転トレース表示設定(&amp;D)...</source>
        <translation>&amp;Display Settings...</translation>
    </message>
    <message>
        <source>一般パラメータ設定(&amp;G)</source>
        <translation>&amp;General Parameters</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>印刷プレビュー(&amp;V)...</source>
        <translation>Print Pre&amp;view...</translation>
    </message>
    <message>
        <source>プリンタの設定(&amp;S)...</source>
        <translation>Printer &amp;Setup...</translation>
    </message>
    <message>
        <source>トリガ :</source>
        <translation>Trigger:</translation>
    </message>
    <message>
        <source>トリガレベル :</source>
        <translation>Trigger level:</translation>
    </message>
    <message>
        <source>トリガエッジ :</source>
        <translation>Trigger edge:</translation>
    </message>
    <message>
        <source>トリガ位置 :</source>
        <translation>Trigger position:</translation>
    </message>
    <message>
        <source>型番</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>アンプ :</source>
        <translation>Amplifier:</translation>
    </message>
    <message>
        <source>モータ :</source>
        <translation>Motor:</translation>
    </message>
    <message>
        <source>サンプリング周期 :</source>
        <translation>Sampling period:</translation>
    </message>
    <message>
        <source>レンジ :</source>
        <translation>Range:</translation>
    </message>
    <message>
        <source>時間軸レンジ :</source>
        <translation>Time range:</translation>
    </message>
    <message>
        <source>t1 - t2 :</source>
        <translation>t1 - t2:</translation>
    </message>
    <message>
        <source>1 / (t1 - t2) :</source>
        <translation>1 / (t1 - t2):</translation>
    </message>
    <message>
        <source>通信可能なサーボアンプが存在しません。</source>
        <translation>There is no servo amplifier that can communicate.</translation>
    </message>
    <message>
        <source>運転トレース</source>
        <translation>Operation Trace</translation>
    </message>
    <message>
        <source>運転トレース - [%1]</source>
        <translation>Operation Trace - [%1]</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>CSVファイル (*.%1)</source>
        <translation>CSV files (*.%1)</translation>
    </message>
</context>
<context>
    <name>TFMTraceColor</name>
    <message>
        <source>運転トレース表示設定</source>
        <translation>Operation Trace Display Settings</translation>
    </message>
    <message>
        <source>アナログCH%1</source>
        <translation>Analog CH%1</translation>
    </message>
    <message>
        <source>デジタルCH%1</source>
        <translation>Digital CH%1</translation>
    </message>
    <message>
        <source>線色 :</source>
        <translation>Line colour:</translation>
    </message>
    <message>
        <source>線幅 :</source>
        <translation>Line width:</translation>
    </message>
    <message>
        <source>マーク :</source>
        <translation>Mark:</translation>
    </message>
    <message>
        <source>グレースケールで印刷する</source>
        <translation>Print in grey scale</translation>
    </message>
</context>
<context>
    <name>TFMTraceSetting</name>
    <message>
        <source>運転トレース設定</source>
        <translation>Operation Trace Settings</translation>
    </message>
    <message>
        <source>トレースモード :</source>
        <translation>Trace mode:</translation>
    </message>
    <message>
        <source>サンプリング周期 :</source>
        <translation>Sampling period:</translation>
    </message>
    <message>
        <source>トレース可能時間 :</source>
        <translation>Recordable time:</translation>
    </message>
    <message>
        <source>トレース対象</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>トリガ</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>トリガエッジ :</source>
        <translation>Trigger edge:</translation>
    </message>
    <message>
        <source>トリガレベル :</source>
        <translation>Trigger level:</translation>
    </message>
    <message>
        <source>トリガ位置 :</source>
        <translation>Trigger position:</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>設定条件を呼び出す :</source>
        <translation>Load settings from a file:</translation>
    </message>
    <message>
        <source>CSVファイル (*.%1)</source>
        <translation>CSV files (*.%1)</translation>
    </message>
</context>
<context>
    <name>TFMTuningRun</name>
    <message>
        <source>チューニング実行</source>
        <translation>Run tuning</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
</context>
<context>
    <name>TFMUserParameter</name>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation type="vanished">&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation type="vanished">&amp;Open...</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation type="vanished">&amp;Close</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation type="vanished">&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation type="vanished">Save &amp;As...</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation type="vanished">E&amp;xit</translation>
    </message>
    <message>
        <source>アンプから読み出し(&amp;R)</source>
        <translation type="vanished">&amp;Read from Amplifier</translation>
    </message>
    <message>
        <source>アンプに書き込み(&amp;W)</source>
        <translation type="vanished">&amp;Write to Amplifier</translation>
    </message>
    <message>
        <source>通信状態の確認(&amp;C)...</source>
        <translation type="vanished">&amp;Communication Check...</translation>
    </message>
    <message>
        <source>パラメータの転送 [アンプ-&gt;ファイル](&amp;F)...</source>
        <translation type="vanished">Parameter Transfer [Amplifier-&gt;&amp;File]...</translation>
    </message>
    <message>
        <source>パラメータの転送 [ファイル-&gt;アンプ](&amp;A)...</source>
        <translation type="vanished">Parameter Transfer [File-&gt;&amp;Amplifier]...</translation>
    </message>
    <message>
        <source>パラメータの照合(&amp;M)...</source>
        <translation type="vanished">Parameter Co&amp;mparison...</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation type="vanished">&amp;Print</translation>
    </message>
    <message>
        <source>印刷プレビュー(&amp;V)...</source>
        <translation type="vanished">Print Pre&amp;view...</translation>
    </message>
    <message>
        <source>プリンタの設定(&amp;S)...</source>
        <translation type="vanished">Printer &amp;Setup...</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation type="vanished">&amp;File</translation>
    </message>
    <message>
        <source>アンプ(&amp;A)</source>
        <translation type="vanished">&amp;Amplifier</translation>
    </message>
    <message>
        <source>ディスク(&amp;D)</source>
        <translation type="vanished">&amp;Disk</translation>
    </message>
    <message>
        <source>型番</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>アンプ :</source>
        <translation>Amplifier :</translation>
    </message>
    <message>
        <source>モータ :</source>
        <translation>Motor :</translation>
    </message>
    <message>
        <source>表示レベル</source>
        <translation>Display level</translation>
    </message>
    <message>
        <source>変更...</source>
        <translation>Change...</translation>
    </message>
    <message>
        <source>編集(&amp;E)...</source>
        <translation>&amp;Edit...</translation>
    </message>
    <message>
        <source>通信可能なサーボアンプが存在しません。</source>
        <translation type="vanished">No servo amplifier can be reached.</translation>
    </message>
    <message>
        <source>一般パラメータ設定</source>
        <translation>General Parameters</translation>
    </message>
    <message>
        <source>一般パラメータ設定 - [%1]</source>
        <translation type="vanished">General Parameters - [%1]</translation>
    </message>
    <message>
        <source>無題</source>
        <translation type="vanished">Untitled</translation>
    </message>
    <message>
        <source>パラメータが変更されています。<byte value="xd"/>
変更をファイルに保存しますか?</source>
        <translation type="vanished">The parameters have been changed.<byte value="xd"/>
Save the changes to the file?</translation>
    </message>
    <message>
        <source>パラメータが変更されています。<byte value="xd"/>
変更をサーボアンプに書き込みますか?</source>
        <translation type="vanished">The parameters have been changed.<byte value="xd"/>
Write the changes to the servo amplifier?</translation>
    </message>
    <message>
        <source>サーボアンプと通信できません。<byte value="xd"/>
入力値はサーボアンプに書き込まれていません。</source>
        <translation type="vanished">Cannot communicate with the servo amplifier.<byte value="xd"/>
The input values have not been written to the servo amplifier.</translation>
    </message>
</context>
<context>
    <name>TFMUserParameterEdit</name>
    <message>
        <source>パラメータ編集</source>
        <translation>Edit Parameter</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>入力値 :</source>
        <translation>Input value :</translation>
    </message>
    <message>
        <source>上位データ :</source>
        <translation>Upper digit :</translation>
    </message>
    <message>
        <source>下位データ :</source>
        <translation>Lower digit :</translation>
    </message>
</context>
<context>
    <name>TFMVJogRun</name>
    <message>
        <source>注意 : この機能を使用するとモータが動作します。<byte value="xd"/>
周囲の安全を確保してから実施してください。</source>
        <translation>Caution: this function makes the motor move.<byte value="xd"/>
Make sure the surroundings are safe before you run it.</translation>
    </message>
    <message>
        <source>パラメータ設定</source>
        <translation>Parameter settings</translation>
    </message>
    <message>
        <source>JOG速度指令 :</source>
        <translation>JOG speed command:</translation>
    </message>
    <message>
        <source>ジョグ運転実行</source>
        <translation>JOG run</translation>
    </message>
    <message>
        <source>正方向</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>逆方向</source>
        <translation>Reverse</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation type="vanished">&amp;Close</translation>
    </message>
</context>
<context>
    <name>TFMVerify</name>
    <message>
        <source>パラメータの照合</source>
        <translation>Parameter Verification</translation>
    </message>
    <message>
        <source>アンプ</source>
        <translation>Amplifier</translation>
    </message>
    <message>
        <source>ディスク</source>
        <translation>Disk</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>TFMZnPreview</name>
    <message>
        <source>最初のページ</source>
        <translation>First page</translation>
    </message>
    <message>
        <source>前のページ</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>次のページ</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>最後のページ</source>
        <translation>Last page</translation>
    </message>
    <message>
        <source>幅に合せて(&amp;W)</source>
        <translation>Fit &amp;width</translation>
    </message>
    <message>
        <source>全体(&amp;O)</source>
        <translation>Wh&amp;ole page</translation>
    </message>
    <message>
        <source>ｸﾞﾘｯﾄﾞ表示(&amp;G)</source>
        <translation>Show &amp;grid</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>ﾍﾟｰｼﾞ印刷(&amp;A)</source>
        <translation>Print p&amp;age</translation>
    </message>
    <message>
        <source>ﾌﾟﾘﾝﾀ設定(&amp;S)</source>
        <translation>Printer &amp;setup</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>位置調節(&amp;I)</source>
        <translation>Pr&amp;int offset</translation>
    </message>
    <message>
        <source>PDFに保存(&amp;F)...</source>
        <translation>Save as PD&amp;F...</translation>
    </message>
    <message>
        <source>ｸﾞﾘｯﾄﾞ非表示(&amp;G)</source>
        <translation>Hide &amp;grid</translation>
    </message>
    <message>
        <source>印刷ページ指定</source>
        <translation>Print page</translation>
    </message>
    <message>
        <source>印刷するページを入力してください。</source>
        <translation>Enter the page to print.</translation>
    </message>
    <message>
        <source>1 から %1 までのページ番号を入力してください。</source>
        <translation>Enter a page number from 1 to %1.</translation>
    </message>
</context>
<context>
    <name>TFMZnPrintOffset</name>
    <message>
        <source>印刷位置調節</source>
        <translation>Print Offset</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>縦方向(&amp;V):</source>
        <translation>&amp;Vertical:</translation>
    </message>
    <message>
        <source>横方向(&amp;H):</source>
        <translation>&amp;Horizontal:</translation>
    </message>
</context>
<context>
    <name>TFMZnPrintProgress</name>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>印刷準備中</source>
        <translation>Preparing</translation>
    </message>
    <message>
        <source>印刷準備中です。お待ちください。</source>
        <translation>Preparing to print. Please wait.</translation>
    </message>
    <message>
        <source>印刷中</source>
        <translation>Printing</translation>
    </message>
    <message>
        <source>印刷中です。お待ちください。</source>
        <translation>Printing. Please wait.</translation>
    </message>
</context>
<context>
    <name>TOpenProblem</name>
    <message>
        <source>%1 を開く権限がありません。</source>
        <translation>You may not open %1.</translation>
    </message>
    <message>
        <source>このデバイスはグループ %1 のものです。</source>
        <translation>The device belongs to the group %1.</translation>
    </message>
    <message>
        <source>グループにも読み書きの権限がありません。管理者に相談してください。</source>
        <translation>That group may not read and write it either: ask your administrator.</translation>
    </message>
    <message>
        <source>ユーザーをこのグループに加えて、ログインし直してください:</source>
        <translation>Add your user to this group, then log out and in again:</translation>
    </message>
    <message>
        <source>%1 がありません。アダプタの接続と、通信設定のデバイスを確認してください。</source>
        <translation>%1 does not exist. Check that the adapter is plugged in and the device in the communication settings.</translation>
    </message>
    <message>
        <source>%1 は他のプログラムが使用中です。そのプログラムを終了してください。</source>
        <translation>%1 is in use by another program. Close that program.</translation>
    </message>
    <message>
        <source>%1 を開けません (%2)。</source>
        <translation>%1 cannot be opened (%2).</translation>
    </message>
    <message>
        <source>%1 を開けません。</source>
        <translation>%1 cannot be opened.</translation>
    </message>
</context>
<context>
    <name>TRPAlarm</name>
    <message>
        <source>アラーム履歴一覧</source>
        <translation>Alarm History List</translation>
    </message>
    <message>
        <source>印刷日時 : %1</source>
        <translation>Printed : %1</translation>
    </message>
    <message>
        <source>- %1 -</source>
        <translation>- %1 -</translation>
    </message>
    <message>
        <source>モータ型番 : %1</source>
        <translation>Motor model : %1</translation>
    </message>
    <message>
        <source>アンプ型番 : %1</source>
        <translation>Amplifier model : %1</translation>
    </message>
    <message>
        <source>ファイル名 : %1</source>
        <translation>File name : %1</translation>
    </message>
    <message>
        <source>ファイル日付 : %1</source>
        <translation>File date : %1</translation>
    </message>
</context>
<context>
    <name>TRPCustom</name>
    <message>
        <source>印刷する前に、プリンタをインストールする必要があります。</source>
        <translation>A printer must be installed before printing.</translation>
    </message>
    <message>
        <source>プリンタの代わりに PDF ファイルに保存しますか?</source>
        <translation>Save a PDF file instead of printing?</translation>
    </message>
    <message>
        <source>ページ : %1</source>
        <translation>Page : %1</translation>
    </message>
</context>
<context>
    <name>TRPMachine</name>
    <message>
        <source>システムアナリシス</source>
        <translation>System Analysis</translation>
    </message>
    <message>
        <source>印刷日時 : </source>
        <translation>Print Date : </translation>
    </message>
    <message>
        <source>ページ : %1</source>
        <translation type="vanished">Page : %1</translation>
    </message>
    <message>
        <source>モータ型番 : %1</source>
        <translation>Motor model : %1</translation>
    </message>
    <message>
        <source>アンプ型番 : %1</source>
        <translation>Amplifier model : %1</translation>
    </message>
    <message>
        <source>ファイル名 : %1</source>
        <translation>File name : %1</translation>
    </message>
    <message>
        <source>ファイル日時 : </source>
        <translation>File Date : </translation>
    </message>
    <message>
        <source>トルク（推力）指令 : </source>
        <translation>Torque (thrust) command : </translation>
    </message>
    <message>
        <source>測定周波数 : </source>
        <translation>Measurement frequency : </translation>
    </message>
    <message>
        <source>レンジ : </source>
        <translation>Range : </translation>
    </message>
    <message>
        <source>測定中のトルク（推力）制限状態発生率 : </source>
        <translation>Torque (thrust) limit rate during the measurement : </translation>
    </message>
</context>
<context>
    <name>TRPParameterBase</name>
    <message>
        <source>印刷日時 : </source>
        <translation>Print Date : </translation>
    </message>
    <message>
        <source>ページ : %1</source>
        <translation>Page : %1</translation>
    </message>
</context>
<context>
    <name>TRPTrace</name>
    <message>
        <source>運転トレース</source>
        <translation>Operation Trace</translation>
    </message>
    <message>
        <source>ページ : %1</source>
        <translation type="vanished">Page: %1</translation>
    </message>
    <message>
        <source>アンプ : </source>
        <translation>Amplifier: </translation>
    </message>
    <message>
        <source>モータ : </source>
        <translation>Motor: </translation>
    </message>
    <message>
        <source>ファイル : </source>
        <translation>File: </translation>
    </message>
    <message>
        <source>サンプリング周期 : </source>
        <translation>Sampling period: </translation>
    </message>
    <message>
        <source>トリガ : </source>
        <translation>Trigger: </translation>
    </message>
    <message>
        <source>トリガエッジ : </source>
        <translation>Trigger edge: </translation>
    </message>
    <message>
        <source>トリガレベル : </source>
        <translation>Trigger level: </translation>
    </message>
    <message>
        <source>トリガ位置 : </source>
        <translation>Trigger position: </translation>
    </message>
    <message>
        <source>レンジ : </source>
        <translation>Range: </translation>
    </message>
    <message>
        <source>時間軸レンジ : </source>
        <translation>Time range: </translation>
    </message>
    <message>
        <source>t1 - t2 : </source>
        <translation>t1 - t2: </translation>
    </message>
    <message>
        <source>1 / (t1 - t2) : </source>
        <translation>1 / (t1 - t2): </translation>
    </message>
</context>
<context>
    <name>TRPUserParameter</name>
    <message>
        <source>パラメータ一覧</source>
        <translation>Parameter List</translation>
    </message>
    <message>
        <source>モータ型番 : %1</source>
        <translation>Motor model : %1</translation>
    </message>
    <message>
        <source>アンプ型番 : %1</source>
        <translation>Amplifier model : %1</translation>
    </message>
    <message>
        <source>ファイル名 : %1</source>
        <translation>File name : %1</translation>
    </message>
    <message>
        <source>ファイル日時 : </source>
        <translation>File Date : </translation>
    </message>
    <message>
        <source>表示レベル : %1</source>
        <translation>Display level : %1</translation>
    </message>
    <message>
        <source>システムパラメータ</source>
        <translation>System Parameters</translation>
    </message>
    <message>
        <source>一般パラメータ [Group %1]</source>
        <translation>General Parameters [Group %1]</translation>
    </message>
</context>
<context>
    <name>TRPVerify</name>
    <message>
        <source>パラメータ照合結果一覧</source>
        <translation>Parameter Verification Result List</translation>
    </message>
    <message>
        <source>アンプ</source>
        <translation>Amplifier</translation>
    </message>
    <message>
        <source>ディスク</source>
        <translation>Disk</translation>
    </message>
    <message>
        <source>モータ型番 : %1</source>
        <translation>Motor model : %1</translation>
    </message>
    <message>
        <source>アンプ型番 : %1</source>
        <translation>Amplifier model : %1</translation>
    </message>
    <message>
        <source>ファイル名 : %1</source>
        <translation>File name : %1</translation>
    </message>
    <message>
        <source>ファイル日時 : </source>
        <translation>File Date : </translation>
    </message>
</context>
<context>
    <name>TZnPrinter</name>
    <message>
        <source>印刷するページがありません。</source>
        <translation>There are no pages to print.</translation>
    </message>
    <message>
        <source>PDFに保存</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>PDFファイル (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>PDFファイルを書き込めません。<byte value="xd"/>
%1</source>
        <translation>The PDF file cannot be written.<byte value="xd"/>
%1</translation>
    </message>
</context>
</TS>
