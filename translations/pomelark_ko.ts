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
    <name>ConfirmSheet</name>
    <message>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
</context>
<context>
    <name>ExcludeConfirmView</name>
    <message>
        <source>They&apos;re only dropped from the send list — not deleted.
Originals stay put, and you can add them back anytime.</source>
        <translation>보낼 목록에서만 빠지고, 지워지지는 않아요.
원본은 그대로 있고, 언제든 다시 넣을 수 있어요.</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>제외하기</translation>
    </message>
    <message>
        <source>Exclude the %1 selected?</source>
        <translation>선택한 %1개를 제외할까요?</translation>
    </message>
</context>
<context>
    <name>IncludeConfirmView</name>
    <message>
        <source>They go back into the send list.
Excluded photos come along too.</source>
        <translation>보낼 목록에 다시 들어가요.
제외했던 사진도 함께 돌아와요.</translation>
    </message>
    <message>
        <source>Add back</source>
        <translation>다시 넣기</translation>
    </message>
    <message>
        <source>Add the %1 selected back?</source>
        <translation>선택한 %1개를 다시 넣을까요?</translation>
    </message>
</context>
<context>
    <name>VideoPlayerPanel</name>
    <message>
        <source>Preparing...</source>
        <translation>준비하는 중...</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>This video can&apos;t play right now</source>
        <translation>지금은 이 동영상을 재생할 수 없어요</translation>
    </message>
</context>
<context>
    <name>ViewerView</name>
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
    <message>
        <source>Rotate right</source>
        <translation>오른쪽으로 돌리기</translation>
    </message>
    <message>
        <source>%1 · %2 / %3</source>
        <translation>%1 · %2 / %3</translation>
    </message>
</context>
<context>
    <name>ViewerCheck</name>
    <message>
        <source>Select</source>
        <translation>선택</translation>
    </message>
    <message>
        <source>Deselect</source>
        <translation>선택 해제</translation>
    </message>
</context>
</TS>
