# cmake -DLINUX_BUILDER=... -DWINDOWS_BUILDER=... -DWINE_RUN=... -DSTUB=... -DWORK=... -P
# The Linux builder and the Windows one under Wine make the same book from the same inputs.
cmake_policy(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/in)
file(WRITE ${WORK}/in/index.html "<html><body><a href=\"Tool.exe\">Tool</a> ĺ</body></html>\n")
file(WRITE ${WORK}/in/Tool.exe "MZ not really")
string(REPEAT "0123456789abcdef" 300 picture)
file(WRITE ${WORK}/in/pic.gif "GIF89a${picture}")
set(options --title "Windows and Linux" --description "One book, two builders"
            --reseller-id 4711 --reseller-name "Ann's Books" --update-seed 99 --hide-bonus)

execute_process(COMMAND ${LINUX_BUILDER} --stub ${STUB} --out ${WORK}/linux.exe ${options}
                        -- ${WORK}/in/index.html ${WORK}/in/pic.gif ${WORK}/in/Tool.exe
                RESULT_VARIABLE linux_failed)
if(linux_failed)
  message(FATAL_ERROR "the Linux builder failed: ${linux_failed}")
endif()

# The Windows builder gets Windows paths: drive Z: and backslashes.
set(win_work "Z:${WORK}")
string(REPLACE "/" "\\" win_work "${win_work}")
set(win_stub "Z:${STUB}")
string(REPLACE "/" "\\" win_stub "${win_stub}")
execute_process(COMMAND ${WINE_RUN} ${WINDOWS_BUILDER} --stub ${win_stub}
                        --out ${win_work}\\windows.exe ${options}
                        -- ${win_work}\\in\\index.html ${win_work}\\in\\pic.gif
                           ${win_work}\\in\\Tool.exe
                RESULT_VARIABLE windows_failed)
if(windows_failed)
  message(FATAL_ERROR "the Windows builder failed: ${windows_failed}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/linux.exe ${WORK}/windows.exe
                RESULT_VARIABLE differ)
file(SIZE ${WORK}/linux.exe size)
if(differ)
  message(FATAL_ERROR "the two builders made different books")
endif()
message("same bytes: ${size} bytes from both builders")
