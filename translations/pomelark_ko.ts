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
    <name>pomelark::SelectToggle</name>
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
    <message>
        <source>This photo is too large to convert (over %1 MB)</source>
        <translation>사진이 너무 커서 변환할 수 없어요 (%1MB 초과)</translation>
    </message>
    <message>
        <source>This photo is too large to convert on this computer</source>
        <translation>사진이 너무 커서 이 컴퓨터에서는 변환할 수 없어요</translation>
    </message>
    <message>
        <source>This photo is too large to convert (%1 pixels or more on a side)</source>
        <translation>사진이 너무 커서 변환할 수 없어요 (한 변이 %1픽셀 이상)</translation>
    </message>
</context>
<context>
    <name>FFmpegError</name>
    <message>
        <source>ffmpeg read only %1 of the video&apos;s %2 seconds</source>
        <translation>ffmpeg가 동영상 %2초 중 %1초만 읽었어요</translation>
    </message>
    <message>
        <source>ffmpeg was ended by signal %1</source>
        <translation>ffmpeg가 %1 신호로 종료되었어요</translation>
    </message>
    <message>
        <source>ffmpeg was stopped</source>
        <translation>ffmpeg가 중지되었어요</translation>
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
    <name>pomelark::SystemErrorText</name>
    <message>
        <source>No permission</source>
        <translation>권한이 없어요</translation>
    </message>
    <message>
        <source>Not allowed</source>
        <translation>허용되지 않는 작업이에요</translation>
    </message>
    <message>
        <source>The disk is read-only</source>
        <translation>읽기 전용 디스크예요</translation>
    </message>
    <message>
        <source>The disk is full</source>
        <translation>디스크가 가득 찼어요</translation>
    </message>
    <message>
        <source>Your disk quota is used up</source>
        <translation>디스크 할당량을 다 썼어요</translation>
    </message>
    <message>
        <source>It isn&apos;t there</source>
        <translation>찾을 수 없어요</translation>
    </message>
    <message>
        <source>A file is where a folder should be</source>
        <translation>폴더 자리에 파일이 있어요</translation>
    </message>
    <message>
        <source>It&apos;s a folder, not a file</source>
        <translation>파일이 아니라 폴더예요</translation>
    </message>
    <message>
        <source>The name is taken</source>
        <translation>이미 있는 이름이에요</translation>
    </message>
    <message>
        <source>The name is too long</source>
        <translation>이름이 너무 길어요</translation>
    </message>
    <message>
        <source>The file is too large</source>
        <translation>파일이 너무 커요</translation>
    </message>
    <message>
        <source>The disk couldn&apos;t be read or written</source>
        <translation>디스크를 읽거나 쓰지 못했어요</translation>
    </message>
    <message>
        <source>The device isn&apos;t connected</source>
        <translation>장치가 연결되어 있지 않아요</translation>
    </message>
    <message>
        <source>Not enough memory</source>
        <translation>메모리가 부족해요</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>폴더</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>드라이브</translation>
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
    <name>pomelark::VideoTile</name>
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
    <name>pomelark::MediaGridView</name>
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
    <name>pomelark::SelectionBar</name>
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
<context>
    <name>PreparingScreen</name>
    <message>
        <source>Getting the tools ready</source>
        <translation>도구를 챙기는 중</translation>
    </message>
    <message>
        <source>Wiping down the workbench</source>
        <translation>작업대를 닦는 중</translation>
    </message>
    <message>
        <source>Finding the glue and scissors</source>
        <translation>풀과 가위를 찾는 중</translation>
    </message>
    <message>
        <source>Picking out favorite stickers</source>
        <translation>좋아하는 스티커를 고르는 중</translation>
    </message>
    <message>
        <source>Rounding the corners</source>
        <translation>모서리를 둥글게 다듬는 중</translation>
    </message>
    <message>
        <source>Sharpening the colored pencils</source>
        <translation>색연필을 깎는 중</translation>
    </message>
    <message>
        <source>Figuring out the photo order</source>
        <translation>사진 순서를 정하는 중</translation>
    </message>
    <message>
        <source>Moving to a sunnier spot</source>
        <translation>햇살 좋은 자리로 옮기는 중</translation>
    </message>
    <message>
        <source>Blowing the dust off</source>
        <translation>먼지를 후 불어내는 중</translation>
    </message>
    <message>
        <source>Tearing off some washi tape</source>
        <translation>마스킹 테이프를 뜯는 중</translation>
    </message>
    <message>
        <source>Pulling up a chair</source>
        <translation>의자를 끌어당기는 중</translation>
    </message>
    <message>
        <source>Putting on a favorite song</source>
        <translation>좋아하는 노래를 트는 중</translation>
    </message>
    <message>
        <source>Smoothing the album cover</source>
        <translation>앨범 표지를 쓰다듬는 중</translation>
    </message>
    <message>
        <source>Washing hands clean</source>
        <translation>손을 깨끗이 씻는 중</translation>
    </message>
    <message>
        <source>Tidying up the desk</source>
        <translation>책상을 정리하는 중</translation>
    </message>
    <message>
        <source>Writing the date on a label</source>
        <translation>라벨에 날짜를 쓰는 중</translation>
    </message>
    <message>
        <source>Taking in that film smell</source>
        <translation>필름 냄새를 맡는 중</translation>
    </message>
    <message>
        <source>Flipping through the memories</source>
        <translation>추억을 넘겨 보는 중</translation>
    </message>
    <message>
        <source>Seeing which photo is prettiest</source>
        <translation>어떤 사진이 제일 예쁜지 보는 중</translation>
    </message>
    <message>
        <source>Grabbing the pinking shears</source>
        <translation>나비 가위를 집어 드는 중</translation>
    </message>
    <message>
        <source>Shaking the glitter glue</source>
        <translation>반짝이 풀을 흔드는 중</translation>
    </message>
    <message>
        <source>Sticking on the labels</source>
        <translation>라벨을 붙이는 중</translation>
    </message>
    <message>
        <source>Inking up the stamp</source>
        <translation>도장에 잉크를 묻히는 중</translation>
    </message>
    <message>
        <source>Brewing a warm cup of tea</source>
        <translation>따뜻한 차를 우리는 중</translation>
    </message>
    <message>
        <source>Cracking the window open</source>
        <translation>창문을 살짝 여는 중</translation>
    </message>
    <message>
        <source>Laying the photos out neatly</source>
        <translation>사진을 가지런히 늘어놓는 중</translation>
    </message>
    <message>
        <source>Rolling out the cutting mat</source>
        <translation>커팅 매트를 펼치는 중</translation>
    </message>
    <message>
        <source>Lining up the ruler</source>
        <translation>자를 맞추는 중</translation>
    </message>
    <message>
        <source>Sketching with a pencil</source>
        <translation>연필로 밑그림을 그리는 중</translation>
    </message>
    <message>
        <source>Brushing away eraser crumbs</source>
        <translation>지우개 가루를 털어내는 중</translation>
    </message>
    <message>
        <source>Clipping the photos together</source>
        <translation>사진을 클립으로 묶는 중</translation>
    </message>
    <message>
        <source>Uncapping the highlighter</source>
        <translation>형광펜 뚜껑을 여는 중</translation>
    </message>
    <message>
        <source>Folding the colored paper</source>
        <translation>색종이를 접는 중</translation>
    </message>
    <message>
        <source>Tying a ribbon</source>
        <translation>리본을 묶는 중</translation>
    </message>
    <message>
        <source>Shaking a Polaroid</source>
        <translation>폴라로이드를 흔드는 중</translation>
    </message>
    <message>
        <source>Peering through a magnifier</source>
        <translation>돋보기로 들여다보는 중</translation>
    </message>
    <message>
        <source>Rolling up the sleeves</source>
        <translation>소매를 걷어붙이는 중</translation>
    </message>
    <message>
        <source>Pressing a stamp down</source>
        <translation>도장을 꾹 찍는 중</translation>
    </message>
    <message>
        <source>Slipping in album pages</source>
        <translation>앨범 속지를 끼우는 중</translation>
    </message>
    <message>
        <source>Tuppo is stretching</source>
        <translation>Tuppo가 기지개를 켜는 중</translation>
    </message>
    <message>
        <source>Checking today&apos;s weather</source>
        <translation>오늘 날씨를 확인하는 중</translation>
    </message>
    <message>
        <source>Gluing carefully</source>
        <translation>조심조심 풀칠하는 중</translation>
    </message>
    <message>
        <source>Laminating ever so carefully</source>
        <translation>아주 조심스럽게 코팅하는 중</translation>
    </message>
    <message>
        <source>Writing a title on a note</source>
        <translation>메모지에 제목을 쓰는 중</translation>
    </message>
    <message>
        <source>Looking for the star punch</source>
        <translation>별 모양 펀치를 찾는 중</translation>
    </message>
    <message>
        <source>Rummaging through a drawer</source>
        <translation>서랍을 뒤적이는 중</translation>
    </message>
    <message>
        <source>Wiping the desk with a wet wipe</source>
        <translation>물티슈로 책상을 닦는 중</translation>
    </message>
    <message>
        <source>Doodling a heart in the corner</source>
        <translation>구석에 하트를 끄적이는 중</translation>
    </message>
    <message>
        <source>Pinning photos up to dry</source>
        <translation>사진을 집게로 걸어 말리는 중</translation>
    </message>
    <message>
        <source>Drying photos in the sun</source>
        <translation>햇볕에 사진을 말리는 중</translation>
    </message>
    <message>
        <source>Choosing a favorite pen</source>
        <translation>좋아하는 펜을 고르는 중</translation>
    </message>
    <message>
        <source>Spreading out the sticker sheet</source>
        <translation>스티커 시트를 펼치는 중</translation>
    </message>
    <message>
        <source>Setting a snack nearby</source>
        <translation>간식을 옆에 두는 중</translation>
    </message>
    <message>
        <source>Pulling a blanket over the knees</source>
        <translation>무릎에 담요를 덮는 중</translation>
    </message>
    <message>
        <source>Gathering the cut-out pieces</source>
        <translation>오려낸 조각을 모으는 중</translation>
    </message>
    <message>
        <source>Clearing a spot in the album</source>
        <translation>앨범에 자리를 마련하는 중</translation>
    </message>
    <message>
        <source>Loosening up the fingers</source>
        <translation>손가락을 푸는 중</translation>
    </message>
    <message>
        <source>Humming a little tune</source>
        <translation>콧노래를 흥얼거리는 중</translation>
    </message>
    <message>
        <source>Taking one last look</source>
        <translation>마지막으로 한 번 더 보는 중</translation>
    </message>
    <message>
        <source>Bringing your photos in</source>
        <translation>사진을 가져오는 중</translation>
    </message>
    <message>
        <source>All set! Off to the workbench</source>
        <translation>준비 끝! 작업대로 가요</translation>
    </message>
</context>
<context>
    <name>pomelark::CardMissingScreen</name>
    <message>
        <source>Please put the card back</source>
        <translation>카드를 다시 꽂아 주세요</translation>
    </message>
    <message>
        <source>Tuppo can&apos;t see your photos without the card.
Pop it back in to pick up right where you left off.</source>
        <translation>카드가 없으면 Tuppo가 사진을 볼 수 없어요.
다시 꽂으면 하던 곳부터 이어서 할 수 있어요.</translation>
    </message>
    <message>
        <source>Back to start</source>
        <translation>처음으로</translation>
    </message>
</context>
<context>
    <name>pomelark::FailureList</name>
    <message>
        <source>Show in Folder</source>
        <translation>폴더에서 보기</translation>
    </message>
</context>
<context>
    <name>pomelark::ToolbarView</name>
    <message>
        <source>Source folder · %1</source>
        <translation>원본 폴더 · %1</translation>
    </message>
    <message numerus="yes">
        <source>%n photos</source>
        <translation>
            <numerusform>사진 %n장</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n videos</source>
        <translation>
            <numerusform>동영상 %n개</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 skipped</source>
        <translation>%1개 건너뜀</translation>
    </message>
    <message>
        <source>Send to Photos</source>
        <translation>사진으로 보내기</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>Choose a different folder</source>
        <translation>다른 폴더 고르기</translation>
    </message>
    <message>
        <source>Stand photos up — finds sideways shots and straightens them</source>
        <translation>사진 세우기 — 옆으로 누운 사진을 찾아 바로 세워요</translation>
    </message>
    <message>
        <source>Tidy similar shots — keep just the best of each burst</source>
        <translation>비슷한 사진 정리 — 연속 사진마다 가장 좋은 것만 남겨요</translation>
    </message>
</context>
<context>
    <name>pomelark::ValidationScreen</name>
    <message>
        <source>%1 scanned · %2 ready</source>
        <translation>%1개 확인 · %2개 준비됨</translation>
    </message>
    <message>
        <source>%1 couldn&apos;t be imported</source>
        <translation>%1개는 가져올 수 없어요</translation>
    </message>
    <message>
        <source>Choose another folder</source>
        <translation>다른 폴더 고르기</translation>
    </message>
    <message>
        <source>Skip and start</source>
        <translation>건너뛰고 시작하기</translation>
    </message>
    <message>
        <source>No files to import</source>
        <translation>가져올 파일이 없어요</translation>
    </message>
    <message>
        <source>The SD card may be damaged, or the file format isn&apos;t supported.</source>
        <translation>SD 카드가 손상되었거나 지원하지 않는 파일 형식일 수 있어요.</translation>
    </message>
    <message>
        <source>Set failed files aside</source>
        <translation>실패한 파일 따로 두기</translation>
    </message>
    <message>
        <source>Choose a folder to keep the failed files</source>
        <translation>실패한 파일을 보관할 폴더를 고르세요</translation>
    </message>
    <message>
        <source>Keep here</source>
        <translation>여기에 보관</translation>
    </message>
    <message numerus="yes">
        <source>%n files couldn&apos;t be copied:</source>
        <translation>
            <numerusform>%n개 파일을 복사하지 못했어요:</numerusform>
        </translation>
    </message>
    <message>
        <source>…and %1 more</source>
        <translation>…외 %1개</translation>
    </message>
    <message numerus="yes">
        <source>Set %n files aside</source>
        <translation>
            <numerusform>%n개 파일을 따로 두었어요</numerusform>
        </translation>
    </message>
    <message>
        <source>OK</source>
        <translation>확인</translation>
    </message>
</context>
<context>
    <name>pomelark::FailedFilesAside</name>
    <message>
        <source>Couldn&apos;t open the file</source>
        <translation>파일을 열 수 없어요</translation>
    </message>
    <message>
        <source>It isn&apos;t a regular file</source>
        <translation>일반 파일이 아니에요</translation>
    </message>
    <message>
        <source>Couldn&apos;t read the file</source>
        <translation>파일을 읽을 수 없어요</translation>
    </message>
    <message>
        <source>Couldn&apos;t open the folder</source>
        <translation>폴더를 열 수 없어요</translation>
    </message>
    <message>
        <source>Couldn&apos;t write into the folder</source>
        <translation>폴더에 쓸 수 없어요</translation>
    </message>
    <message>
        <source>Couldn&apos;t give the copy a name</source>
        <translation>복사본에 이름을 붙일 수 없어요</translation>
    </message>
    <message>
        <source>Couldn&apos;t copy the file</source>
        <translation>파일을 복사할 수 없어요</translation>
    </message>
    <message>
        <source>It isn&apos;t a file on this computer</source>
        <translation>이 컴퓨터에 있는 파일이 아니에요</translation>
    </message>
    <message>
        <source>Its name can&apos;t be read</source>
        <translation>파일 이름을 읽을 수 없어요</translation>
    </message>
</context>
<context>
    <name>pomelark::WelcomeView</name>
    <message>
        <source>Tidies up the photos &amp; videos from your digicam
and sends them to your Photos folder.</source>
        <translation>디지털카메라의 사진과 동영상을 정리해서
사진 폴더로 보내 드려요.</translation>
    </message>
    <message>
        <source>Choose your photo folder</source>
        <translation>사진 폴더 고르기</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>설정</translation>
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
        <source>&amp;File</source>
        <translation>파일(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>끝내기(&amp;Q)</translation>
    </message>
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
<context>
    <name>pomelark::ConfirmCard</name>
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
    <name>pomelark::ConvertScreen</name>
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
    <name>pomelark::DoneScreen</name>
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
    <message numerus="yes">
        <source>%n photos</source>
        <translation>
            <numerusform>사진 %n장</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n videos</source>
        <translation>
            <numerusform>동영상 %n개</numerusform>
        </translation>
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
        <source>Back to grid</source>
        <translation>목록으로 돌아가기</translation>
    </message>
</context>
<context>
    <name>pomelark::LibraryFolderNames</name>
    <message>
        <source>All set in your %1 folder</source>
        <translation>%1 폴더에 모두 담았어요</translation>
    </message>
    <message>
        <source>Went into %1 · in your %2 folder</source>
        <translation>%1에 들어갔어요 · %2 폴더 안에 있어요</translation>
    </message>
    <message>
        <source>Went into %1 · in the %2 folder</source>
        <translation>%1에 들어갔어요 · %2 폴더 안에 있어요</translation>
    </message>
    <message>
        <source>Let Pomelark write to %1 → %2</source>
        <translation>Pomelark가 %1 → %2에 쓸 수 있게 해 주세요</translation>
    </message>
    <message>
        <source>Open %1 Folder</source>
        <translation>%1 폴더 열기</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>홈</translation>
    </message>
</context>
<context>
    <name>pomelark::ProgressRing</name>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
</context>
<context>
    <name>pomelark::RotateConfirmView</name>
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
    <message numerus="yes">
        <source>Stood up %n sideways photos</source>
        <translation>
            <numerusform>옆으로 누운 사진 %n장을 세웠어요</numerusform>
        </translation>
    </message>
    <message>
        <source>Stand up %1</source>
        <translation>%1장 세우기</translation>
    </message>
</context>
<context>
    <name>pomelark::SendConfirmView</name>
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
    <message numerus="yes">
        <source>%n photos</source>
        <translation>
            <numerusform>사진 %n장</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n videos</source>
        <translation>
            <numerusform>동영상 %n개</numerusform>
        </translation>
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
<context>
    <name>pomelark::BestShotConfirmView</name>
    <message numerus="yes">
        <source>Found %n groups of similar photos</source>
        <translation>
            <numerusform>비슷한 사진 묶음 %n개를 찾았어요</numerusform>
        </translation>
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
    <name>pomelark::KeepCheck</name>
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
    <name>pomelark::BestShotLookView</name>
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
<context>
    <name>pomelark::ConfirmSheet</name>
    <message>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
</context>
<context>
    <name>pomelark::ExcludeConfirmView</name>
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
    <name>pomelark::IncludeConfirmView</name>
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
    <name>pomelark::VideoPlayerPanel</name>
    <message>
        <source>This video can&apos;t play right now</source>
        <translation>지금은 이 동영상을 재생할 수 없어요</translation>
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
</context>
<context>
    <name>pomelark::ViewerView</name>
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
    <name>pomelark::GridScreen</name>
    <message>
        <source>Select All</source>
        <translation>모두 선택</translation>
    </message>
</context>
</TS>
