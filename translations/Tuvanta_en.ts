<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
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
</TS>
