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
<context>
    <name>pomelark::BestShotConfirmView</name>
    <message numerus="yes">
        <source>Found %n groups of similar photos</source>
        <translation>
            <numerusform>Found %n group of similar photos</numerusform>
            <numerusform>Found %n groups of similar photos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pomelark::DoneScreen</name>
    <message numerus="yes">
        <source>%n photos</source>
        <translation>
            <numerusform>%n photo</numerusform>
            <numerusform>%n photos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n videos</source>
        <translation>
            <numerusform>%n video</numerusform>
            <numerusform>%n videos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pomelark::RotateConfirmView</name>
    <message numerus="yes">
        <source>Stood up %n sideways photos</source>
        <translation>
            <numerusform>Stood up %n sideways photo</numerusform>
            <numerusform>Stood up %n sideways photos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pomelark::SendConfirmView</name>
    <message numerus="yes">
        <source>%n photos</source>
        <translation>
            <numerusform>%n photo</numerusform>
            <numerusform>%n photos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n videos</source>
        <translation>
            <numerusform>%n video</numerusform>
            <numerusform>%n videos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pomelark::ToolbarView</name>
    <message numerus="yes">
        <source>%n photos</source>
        <translation>
            <numerusform>%n photo</numerusform>
            <numerusform>%n photos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n videos</source>
        <translation>
            <numerusform>%n video</numerusform>
            <numerusform>%n videos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pomelark::ValidationScreen</name>
    <message numerus="yes">
        <source>%n files couldn&apos;t be copied:</source>
        <translation>
            <numerusform>%n file couldn&apos;t be copied:</numerusform>
            <numerusform>%n files couldn&apos;t be copied:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Set %n files aside</source>
        <translation>
            <numerusform>Set %n file aside</numerusform>
            <numerusform>Set %n files aside</numerusform>
        </translation>
    </message>
</context>
</TS>
