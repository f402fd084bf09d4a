<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR" sourcelanguage="en">
<context>
    <name>ValidationFailure</name>
    <message>
        <source>This file is empty</source>
        <translation>빈 파일이에요</translation>
    </message>
    <message>
        <source>This photo file looks damaged</source>
        <translation>사진 파일이 손상된 것 같아요</translation>
    </message>
    <message>
        <source>This video file looks damaged</source>
        <translation>동영상 파일이 손상된 것 같아요</translation>
    </message>
    <message>
        <source>Unrecognized format</source>
        <translation>알 수 없는 형식이에요</translation>
    </message>
    <message>
        <source>Couldn&apos;t read this file</source>
        <translation>이 파일을 읽을 수 없어요</translation>
    </message>
</context>
<context>
    <name>SelectToggle</name>
    <message>
        <source>Done selecting</source>
        <translation>선택 완료</translation>
    </message>
    <message>
        <source>Select several — choose which to drop or re-add</source>
        <translation>여러 개 선택 — 뺄 것과 다시 넣을 것을 골라요</translation>
    </message>
</context>
<context>
    <name>TuppoNod</name>
    <message>
        <source>OK</source>
        <translation>좋아요</translation>
    </message>
</context>
<context>
    <name>ConvertError</name>
    <message>
        <source>Couldn&apos;t read the source file</source>
        <translation>원본 파일을 읽을 수 없어요</translation>
    </message>
    <message>
        <source>Couldn&apos;t create the converted file</source>
        <translation>변환된 파일을 만들 수 없어요</translation>
    </message>
    <message>
        <source>Conversion failed</source>
        <translation>변환에 실패했어요</translation>
    </message>
</context>
<context>
    <name>ExportCoordinator</name>
    <message>
        <source>The SD card was removed</source>
        <translation>SD 카드가 분리되었어요</translation>
    </message>
</context>
<context>
    <name>PhotosError</name>
    <message>
        <source>No Photos access</source>
        <translation>사진 접근 권한이 없어요</translation>
    </message>
    <message>
        <source>Couldn&apos;t add to Photos:</source>
        <translation>사진에 추가할 수 없어요:</translation>
    </message>
</context>
<context>
    <name>ExcludedBadge</name>
    <message>
        <source>Excluded</source>
        <translation>제외됨</translation>
    </message>
</context>
<context>
    <name>ToolProgressOverlay</name>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
</context>
<context>
    <name>SelCheck</name>
    <message>
        <source>Deselect</source>
        <translation>선택 해제</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>선택</translation>
    </message>
</context>
<context>
    <name>VideoTile</name>
    <message>
        <source>Preparing</source>
        <translation>준비 중</translation>
    </message>
    <message>
        <source>Won&apos;t play</source>
        <translation>재생 불가</translation>
    </message>
    <message>
        <source>This video just won&apos;t play, but sending it to Photos works fine</source>
        <translation>이 동영상은 재생되지 않지만 사진으로 보내는 데는 문제없어요</translation>
    </message>
</context>
<context>
    <name>MediaGridView</name>
    <message>
        <source>Deselect %1</source>
        <translation>%1개 선택 해제</translation>
    </message>
    <message>
        <source>Select %1</source>
        <translation>%1개 선택</translation>
    </message>
</context>
<context>
    <name>SelectionBar</name>
    <message>
        <source>Select photos to exclude</source>
        <translation>제외할 사진을 선택하세요</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>%1개 선택됨</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>모두 해제</translation>
    </message>
    <message>
        <source>Include</source>
        <translation>포함</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>제외</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>완료</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Everything&apos;s upright!</source>
        <translation>모두 똑바로 서 있어요!</translation>
    </message>
    <message>
        <source>Couldn&apos;t find any photos that need rotating.</source>
        <translation>돌려야 할 사진을 찾지 못했어요.</translation>
    </message>
    <message>
        <source>No photos to straighten</source>
        <translation>바로 세울 사진이 없어요</translation>
    </message>
    <message>
        <source>Add some photos and I&apos;ll find the sideways ones to straighten.</source>
        <translation>사진을 넣어 주시면 옆으로 누운 사진을 찾아 바로 세워 드릴게요.</translation>
    </message>
    <message>
        <source>No similar-photo groups found</source>
        <translation>비슷한 사진 묶음을 찾지 못했어요</translation>
    </message>
    <message>
        <source>They all look different — nothing to group!</source>
        <translation>모두 달라 보여요 — 묶을 사진이 없어요!</translation>
    </message>
    <message>
        <source>Not enough photos to compare</source>
        <translation>비교할 사진이 부족해요</translation>
    </message>
    <message>
        <source>You need at least 2 photos to find similar ones.</source>
        <translation>비슷한 사진을 찾으려면 사진이 2장 이상 필요해요.</translation>
    </message>
    <message>
        <source>Looking at your photos...</source>
        <translation>사진을 살펴보는 중...</translation>
    </message>
    <message>
        <source>Finding similar photos...</source>
        <translation>비슷한 사진을 찾는 중...</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>Choose a folder with JPG / AVI files</source>
        <translation>JPG / AVI 파일이 있는 폴더를 선택하세요</translation>
    </message>
    <message>
        <source>Choose</source>
        <translation>선택</translation>
    </message>
</context>
</TS>
