<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en">
<context>
    <name>AppLanguage</name>
    <message>
        <source>한국어</source>
        <translation>한국어</translation>
    </message>
</context>
<context>
    <name>PomelarkApp</name>
    <message>
        <source>업데이트 확인…</source>
        <translation>Check for Updates…</translation>
    </message>
</context>
</TS>
