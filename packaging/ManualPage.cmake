# Writes the manual page osago.1.gz from what `osago --help` prints, so that the page never falls behind the
# program. Run with -DPROGRAM=... -DVERSION=... -DOUTPUT=... (without .gz) -DGZIP=...
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed: ${status}")
endif()
# roff takes a backslash as an escape and a leading dot or quote as a request.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
file(WRITE ${OUTPUT} ".TH OSAGO 1 \"\" \"osago ${VERSION}\" \"ОСАГО Тальград\"
.SH NAME
osago \\- ОСАГО Тальград, полисы ОСАГО страхового агента
.SH DESCRIPTION
.nf
${help}.fi
")
execute_process(COMMAND ${GZIP} -9nf ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${OUTPUT} failed: ${status}")
endif()
