# Bash completion for quillet-batch: the commands, their options, the formats of --format
# and folders where a command takes one. Needs nothing but bash itself.
_quillet_batch() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local IFS=$'\n'
    COMPREPLY=()
    case $prev in
    '<' | '>' | '>>')
        # The filters read and write files through redirections.
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
        return
        ;;
    --format)
        COMPREPLY=($(compgen -W $'xml\ncsv\njsonl\nsqlite' -- "$cur"))
        return
        ;;
    --tag)
        return
        ;;
    esac
    if [ "$COMP_CWORD" -eq 1 ]; then
        COMPREPLY=($(compgen -W $'clean\nsort\nstrip\nutf8\nstrip-folder\nexport\ncheck\n--help' -- "$cur"))
        return
    fi
    local options
    case ${COMP_WORDS[1]} in
    strip-folder) options=$'--overwrite\n--sort' ;;
    export) options=--format ;;
    check) options=--tag ;;
    *) return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    else
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
    fi
}
complete -F _quillet_batch quillet-batch
