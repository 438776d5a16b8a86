# Sourced by the benches: the ffmpeg arguments for the settings KavoEngine reports on stderr
# ("KavoEngine: video ..." and "KavoEngine: audio ..." lines of name=value fields).

field() { # field <line> <name>: the value of name=value in a settings line
    local line=$1 name=$2
    if [[ $name == filter ]]; then
        echo "${line#* filter=}"
    else
        echo "$line" | tr ' ' '\n' | sed -n "s/^${name}=//p"
    fi
}

# profile_args <video line> <audio line, may be empty>: sets FF_ARGS to the encoding arguments.
profile_args() {
    local video=$1 audio=$2 tag preset
    FF_ARGS=(-filter:v "$(field "$video" filter)" -c:v "$(field "$video" encoder)"
             -b:v "$(field "$video" bitrate)" -maxrate "$(field "$video" maxrate)"
             -bufsize "$(field "$video" bufsize)" -g "$(field "$video" gop)")
    tag=$(field "$video" tag)
    [[ -n $tag ]] && FF_ARGS+=(-tag:v "$tag" -bf 0)
    preset=$(field "$video" preset)
    [[ -n $preset ]] && FF_ARGS+=(-preset "$preset" -profile:v "$(field "$video" profile)"
                                  -level:v "$(field "$video" level)")
    if [[ -n $audio ]]; then
        FF_ARGS+=(-filter:a "$(field "$audio" filter)" -c:a "$(field "$audio" encoder)"
                  -b:a "$(field "$audio" bitrate)")
    else
        FF_ARGS+=(-an)
    fi
}
