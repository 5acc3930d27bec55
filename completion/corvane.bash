# bash completion for corvane-scenes, corvane-sim and corvane-scene-tool.
# Installed once under each program's name, so whichever program bash-completion loads it for, all
# three are defined.

# The lines --port takes: serial devices present now, COM1 to COM8, a device server's network
# port (rfc2217:// or tcp://, the rest typed by hand) and the built-in simulator; another path
# (such as the pseudo-terminal corvane-sim prints) completes as a file name, but not /dev/tty...,
# where the virtual consoles would hide the serial devices.
_corvane_ports()
{
    local words=(COM1 COM2 COM3 COM4 COM5 COM6 COM7 COM8 rfc2217:// tcp:// "$@") device
    for device in /dev/ttyUSB* /dev/ttyACM* /dev/ttyS*; do
        [[ -e $device ]] && words+=("$device")
    done
    COMPREPLY=($(compgen -W '${words[@]}' -- "$cur"))
    # "rfc2217://" is not a finished word: no space after it.
    [[ ${COMPREPLY[*]} == *:// ]] && compopt -o nospace 2>/dev/null
    [[ ${#COMPREPLY[@]} -eq 0 && $cur == */* && $cur != /dev/tty* ]] && _filedir
}

# Scene files, whatever the case of their .SCN.
_corvane_scene_files()
{
    _filedir '[sS][cC][nN]'
}

_corvane_scenes()
{
    local cur prev words cword split
    _init_completion -s || return

    local commands='get send verify scan backup show diff export import picture help'
    if [[ $cword -eq 1 ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--help --version' -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi

    local command=${words[1]} options
    case $command in
        get | verify) options='--port --node' ;;
        send) options='--port --node --verify --backup' ;;
        scan) options='--port --nodes --limit' ;;
        backup) options='--port --nodes --limit --keep' ;;
        show) options='--scene --levels' ;;
        diff | export | import) options='' ;;
        picture) options='--diff' ;;
        *) return ;;
    esac

    case $prev in
        --port)
            _corvane_ports sim
            return
            ;;
        --backup | --diff)
            _corvane_scene_files
            return
            ;;
        --node | --nodes | --limit | --keep | --scene) return ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
    fi

    # Which file name this word is: options and their values do not count.
    local i position=0
    for ((i = 2; i < cword; i++)); do
        case ${words[i]} in
            --port | --node | --nodes | --limit | --keep | --backup | --scene | --diff) ((i++)) ;;
            -*) ;;
            *) ((position++)) ;;
        esac
    done
    if [[ $command == import && $position -eq 0 ]]; then
        _filedir '[cC][sS][vV]'
    elif [[ $command == backup ]]; then
        _filedir -d
    elif [[ $command == scan ]]; then
        return
    elif [[ $command == picture && $position -eq 1 ]]; then
        _filedir '[pP][nN][gG]'
    else
        _corvane_scene_files
    fi
} && complete -F _corvane_scenes corvane-scenes

_corvane_sim()
{
    local cur prev words cword split
    _init_completion -s -n : || return

    case $prev in
        --load | --save)
            _corvane_scene_files
            return
            ;;
        --fault)
            # BLOCK:KIND[:COUNT|always][:read|write], one field at a time after the block.
            [[ $cur == *:* ]] || return
            local kinds='drop badsum short late extra noise close'
            local IFS=:
            local fields=($cur)
            IFS=$' \t\n'
            [[ $cur == *: ]] && fields+=('')
            local last=${fields[-1]}
            local head=${cur%"$last"} choices=''
            case ${#fields[@]} in
                2) choices=$kinds ;;
                3) choices='always read write' ;;
                4) [[ ${fields[2]} != read && ${fields[2]} != write ]] && choices='read write' ;;
            esac
            local word
            for word in $choices; do
                [[ $head$word == "$cur"* ]] && COMPREPLY+=("$head$word")
            done
            __ltrim_colon_completions "$cur"
            compopt -o nospace
            return
            ;;
        --node | --late-ms) return ;;
    esac
    $split && return

    COMPREPLY=($(compgen -W '--node --load --save --lower --framed-ack --paced --fault --late-ms
        --verbose --help --version' -- "$cur"))
} && complete -F _corvane_sim corvane-sim

_corvane_scene_tool()
{
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        --port)
            _corvane_ports
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--port --simulator --help --version' -- "$cur"))
        return
    fi
    _corvane_scene_files
} && complete -F _corvane_scene_tool corvane-scene-tool

# ex: filetype=sh
