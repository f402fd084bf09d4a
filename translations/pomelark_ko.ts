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
    <name>ConfirmCard</name>
    <message>
        <source>Rotate</source>
        <translation>회전</translation>
    </message>
    <message>
        <source>Leave as is</source>
        <translation>그대로 두기</translation>
    </message>
</context>
<context>
    <name>ConvertScreen</name>
    <message>
        <source>Tidying up...</source>
        <translation>정리하는 중...</translation>
    </message>
    <message>
        <source>Use today&apos;s date</source>
        <translation>오늘 날짜 사용</translation>
    </message>
    <message>
        <source>Keep capture date</source>
        <translation>촬영 날짜 유지</translation>
    </message>
    <message>
        <source>%1 / %2 · making them iPhone-friendly</source>
        <translation>%1 / %2 · iPhone에 맞게 바꾸는 중</translation>
    </message>
</context>
<context>
    <name>DoneScreen</name>
    <message>
        <source>All set in your Photos folder</source>
        <translation>사진 폴더에 모두 담았어요</translation>
    </message>
    <message>
        <source>Nothing was left on your computer · SD card originals untouched</source>
        <translation>컴퓨터에 남은 파일 없음 · SD 카드 원본은 그대로</translation>
    </message>
    <message>
        <source>%1 couldn&apos;t be sent</source>
        <translation>%1개를 보내지 못했어요</translation>
    </message>
    <message>
        <source>Back to start</source>
        <translation>처음으로</translation>
    </message>
    <message>
        <source>%1 photos</source>
        <translation>사진 %1장</translation>
    </message>
    <message>
        <source>Went into Photos · in your Pictures folder</source>
        <translation>사진에 들어갔어요 · Pictures 폴더 안에 있어요</translation>
    </message>
    <message>
        <source>%1 videos</source>
        <translation>동영상 %1개</translation>
    </message>
    <message>
        <source>Converted to iPhone format and sent</source>
        <translation>iPhone 형식으로 바꿔서 보냈어요</translation>
    </message>
    <message>
        <source>Photos access needed</source>
        <translation>사진 접근 권한이 필요해요</translation>
    </message>
    <message>
        <source>Let Pomelark write to Pictures → Photos</source>
        <translation>Pomelark가 Pictures → Photos에 쓸 수 있게 해 주세요</translation>
    </message>
    <message>
        <source>Open Pictures Folder</source>
        <translation>Pictures 폴더 열기</translation>
    </message>
    <message>
        <source>Back to grid</source>
        <translation>목록으로 돌아가기</translation>
    </message>
</context>
<context>
    <name>ProgressRing</name>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
</context>
<context>
    <name>RotateConfirmView</name>
    <message>
        <source>Don&apos;t rotate</source>
        <translation>회전하지 않기</translation>
    </message>
    <message>
        <source>Tap &apos;Leave as is&apos; on any you don&apos;t want changed.</source>
        <translation>바꾸고 싶지 않은 사진은 &apos;그대로 두기&apos;를 누르세요.</translation>
    </message>
    <message>
        <source>Rotations apply when you Send to Photos · your folder originals stay unchanged</source>
        <translation>회전은 사진으로 보낼 때 적용돼요 · 폴더의 원본은 바뀌지 않아요</translation>
    </message>
    <message>
        <source>Stood up %1 sideways photos</source>
        <translation>옆으로 누운 사진 %1장을 세웠어요</translation>
    </message>
    <message>
        <source>Stand up %1</source>
        <translation>%1장 세우기</translation>
    </message>
</context>
<context>
    <name>SendConfirmView</name>
    <message>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>보내기</translation>
    </message>
    <message>
        <source>Send to Photos?</source>
        <translation>사진으로 보낼까요?</translation>
    </message>
    <message>
        <source>We&apos;ll add them to Photos just as you tidied them.
It only takes a moment.</source>
        <translation>정리한 그대로 사진에 추가할게요.
금방 끝나요.</translation>
    </message>
    <message>
        <source>%1 photos · %2 videos</source>
        <translation>사진 %1장 · 동영상 %2개</translation>
    </message>
    <message>
        <source>%1 excluded</source>
        <translation>%1개 제외됨</translation>
    </message>
    <message>
        <source>Keep capture date</source>
        <translation>촬영 날짜 유지</translation>
    </message>
    <message>
        <source>Use today&apos;s date</source>
        <translation>오늘 날짜 사용</translation>
    </message>
    <message>
        <source>Nothing stays on your computer · SD card originals untouched</source>
        <translation>컴퓨터에 아무것도 남지 않아요 · SD 카드 원본은 그대로</translation>
    </message>
</context>
</TS>
