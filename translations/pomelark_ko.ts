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
    <name>BestShotConfirmView</name>
    <message>
        <source>Found %1 groups of similar photos</source>
        <translation>비슷한 사진 묶음 %1개를 찾았어요</translation>
    </message>
    <message>
        <source>Pick the ones to keep. The rest are dropped from sending. (check = keep ↔ exclude · tap a photo to enlarge)</source>
        <translation>남길 사진을 고르세요. 나머지는 보내기에서 빠져요. (체크 = 남기기 ↔ 제외 · 사진을 누르면 크게 보여요)</translation>
    </message>
    <message>
        <source>Excluded photos aren&apos;t deleted either · select to add them back anytime</source>
        <translation>제외한 사진도 지워지지 않아요 · 언제든 선택해서 다시 넣을 수 있어요</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>나중에</translation>
    </message>
    <message>
        <source>Exclude %1 from sending</source>
        <translation>%1장 보내기에서 제외</translation>
    </message>
</context>
<context>
    <name>GroupCard</name>
    <message>
        <source>No faces here, so no pick — choose yourself</source>
        <translation>얼굴이 없어 추천하지 못했어요 — 직접 골라 주세요</translation>
    </message>
    <message>
        <source>Keep all</source>
        <translation>모두 남기기</translation>
    </message>
</context>
<context>
    <name>BestTag</name>
    <message>
        <source>Best</source>
        <translation>베스트</translation>
    </message>
</context>
<context>
    <name>KeepCheck</name>
    <message>
        <source>Exclude</source>
        <translation>제외하기</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>남기기</translation>
    </message>
</context>
<context>
    <name>BestShotLookView</name>
    <message>
        <source>%1 · %2 / %3</source>
        <translation>%1 · %2 / %3</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>닫기</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>이전</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>다음</translation>
    </message>
</context>
</TS>
