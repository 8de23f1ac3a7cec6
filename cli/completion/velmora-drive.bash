# bash completion for velmora-drive: its commands, each command's options and the options' values,
# and for DEVICE the devices where the program looks for drives, as `velmora-drive
# __complete-devices` names them (it opens none of them, so a completion never waits for a drive).
# Installed as /usr/share/bash-completion/completions/velmora-drive.

_velmora_drive() {
    local program=${1:-velmora-drive} cur=${COMP_WORDS[COMP_CWORD]} prev=
    # bash splits "--audio-mode=low" at "=" (COMP_WORDBREAKS): the option is the word before it.
    if [[ $cur == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD - 1]}
        cur=
    elif ((COMP_CWORD > 1)) && [[ ${COMP_WORDS[COMP_CWORD - 1]} == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    elif ((COMP_CWORD > 0)); then
        prev=${COMP_WORDS[COMP_CWORD - 1]}
    fi
    case $prev in
        --optimal-speed) mapfile -t COMPREPLY < <(compgen -W 'on off' -- "$cur"); return ;;
        --audio-mode) mapfile -t COMPREPLY < <(compgen -W 'high low' -- "$cur"); return ;;
    esac

    local command= device= demo= i word
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        case $word in
            --demo) demo=--demo ;;
            --optimal-speed | --audio-mode)
                ((i++))
                [[ ${COMP_WORDS[i]} == = ]] && ((i++))
                ;;
            -* | =) ;;
            *) if [[ -z $command ]]; then command=$word; elif [[ -z $device ]]; then device=$word; fi ;;
        esac
    done

    local every='--json -j --trace --demo --help -h' options
    case $command in
        '')
            if [[ $cur != -* ]]; then
                mapfile -t COMPREPLY < <(compgen -W 'list show set restore' -- "$cur")
                return
            fi
            options="$every --version"
            ;;
        list) options="--all $every" ;;
        show) options=$every ;;
        set) options="--optimal-speed --audio-mode --save --dry-run $every" ;;
        restore) options="--dry-run $every" ;;
        *) return ;;
    esac
    if [[ $cur == -* || $command == list || -n $device ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    else
        mapfile -t COMPREPLY < <(compgen -W \
            "$("$program" $demo __complete-devices 2>/dev/null)" -- "$cur")
    fi
}

complete -F _velmora_drive velmora-drive
