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
    <name>SettingsScreen</name>
    <message>
        <source>Back</source>
        <translation>뒤로</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>설정</translation>
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
        <source>Smaller size</source>
        <translation>작은 용량</translation>
    </message>
    <message>
        <source>Higher quality</source>
        <translation>높은 화질</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>언어</translation>
    </message>
    <message>
        <source>Display language</source>
        <translation>표시 언어</translation>
    </message>
    <message>
        <source>Applies after you restart Pomelark.</source>
        <translation>Pomelark를 다시 시작하면 적용돼요.</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>변환</translation>
    </message>
    <message>
        <source>Capture date</source>
        <translation>촬영 날짜</translation>
    </message>
    <message>
        <source>Choose where it sorts on your Photos timeline.</source>
        <translation>사진 타임라인에서 어디쯤 놓일지 골라요.</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>화질</translation>
    </message>
    <message>
        <source>Choose smaller files or higher quality.</source>
        <translation>작은 파일과 높은 화질 중에서 골라요.</translation>
    </message>
    <message>
        <source>After tidying</source>
        <translation>정리한 뒤</translation>
    </message>
    <message>
        <source>Auto-delete temp files after sending</source>
        <translation>보낸 뒤 임시 파일 자동 삭제</translation>
    </message>
    <message>
        <source>Nothing is left on your computer.</source>
        <translation>컴퓨터에 아무것도 남지 않아요.</translation>
    </message>
    <message>
        <source>Never touch the original folder</source>
        <translation>원본 폴더는 절대 건드리지 않기</translation>
    </message>
    <message>
        <source>Whether it&apos;s an SD card or a folder on your computer, the originals are never deleted. Always on, for safety.</source>
        <translation>SD 카드든 컴퓨터의 폴더든 원본은 절대 지우지 않아요. 안전을 위해 항상 켜져 있어요.</translation>
    </message>
    <message>
        <source>Always on</source>
        <translation>항상 켜짐</translation>
    </message>
    <message>
        <source>Restart to apply the language</source>
        <translation>언어를 적용하려면 다시 시작하세요</translation>
    </message>
    <message>
        <source>Pomelark will reopen in the language you picked.</source>
        <translation>Pomelark가 고른 언어로 다시 열려요.</translation>
    </message>
    <message>
        <source>Restart now</source>
        <translation>지금 다시 시작</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>나중에</translation>
    </message>
</context>
<context>
    <name>AppLanguage</name>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>한국어</source>
        <translation>한국어</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;Help</source>
        <translation>도움말(&amp;H)</translation>
    </message>
    <message>
        <source>About Pomelark</source>
        <translation>Pomelark 정보</translation>
    </message>
    <message>
        <source>Pomelark %1</source>
        <translation>Pomelark %1</translation>
    </message>
    <message>
        <source>Tidies the photos and videos from a camera card or a folder and sends them to your Photos folder.</source>
        <translation>카메라 카드나 폴더의 사진과 동영상을 정리해서 사진 폴더로 보내요.</translation>
    </message>
</context>
<context>
    <name>PomelarkApp</name>
    <message>
        <source>업데이트 확인…</source>
        <translation>업데이트 확인…</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>A new version of Pomelark is available</source>
        <translation>Pomelark 새 버전이 나왔어요</translation>
    </message>
    <message>
        <source>Pomelark %1 is out. You have %2.</source>
        <translation>Pomelark %1 버전이 나왔어요. 지금 쓰는 버전은 %2예요.</translation>
    </message>
    <message>
        <source>Open Release Page</source>
        <translation>릴리스 페이지 열기</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>나중에</translation>
    </message>
    <message>
        <source>Pomelark is up to date</source>
        <translation>Pomelark가 최신 버전이에요</translation>
    </message>
    <message>
        <source>Version %1 is the newest.</source>
        <translation>%1 버전이 가장 최신이에요.</translation>
    </message>
    <message>
        <source>Couldn&apos;t check for updates</source>
        <translation>업데이트를 확인하지 못했어요</translation>
    </message>
    <message>
        <source>The update feed could not be reached.</source>
        <translation>업데이트 피드에 연결할 수 없어요.</translation>
    </message>
    <message>
        <source>The update feed is not in the expected form.</source>
        <translation>업데이트 피드의 형식이 올바르지 않아요.</translation>
    </message>
</context>
</TS>
