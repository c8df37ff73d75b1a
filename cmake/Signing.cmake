# Signs a target's file after linking with the development code-signing certificate.
set(UNINST_CERT_DIR ${UNINST_DEPS_DIR}/cert)

function(sign_target target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_SOURCE_DIR}/tools/sign.sh ${UNINST_CERT_DIR} $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
