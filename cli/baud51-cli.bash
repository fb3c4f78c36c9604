# bash completion for baud51-cli                           -*- shell-script -*-
# Commands, option values, and the standard crystals (MHz) and baud rates
# where a FREQ or BAUD goes.

_baud51_cli() {
  local cur prev
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD - 1]}
  local crystals="1.8432 2 3.579545 3.6864 4 4.9152 6 7.3728 8 9.8304 10
    11.0592 12 14.7456 16 18.432 20 22.1184 24 25 27 29.4912 30 32 33 33.1776
    36.864 40"
  local rates="110 300 600 1200 2400 4800 9600 14400 19200 28800 38400 57600
    76800 115200 230400 460800 921600"

  case $prev in
    --timer) COMPREPLY=($(compgen -W "1 2" -- "$cur")); return ;;
    --smod) COMPREPLY=($(compgen -W "0 1" -- "$cur")); return ;;
    --clock) COMPREPLY=($(compgen -W "12 6 1" -- "$cur")); return ;;
    --format) COMPREPLY=($(compgen -W "text csv json" -- "$cur")); return ;;
    --lang) COMPREPLY=($(compgen -W "c asm" -- "$cur")); return ;;
    --tolerance) COMPREPLY=($(compgen -W "0.2 1 2 3" -- "$cur")); return ;;
    --baud) COMPREPLY=($(compgen -W "$rates" -- "$cur")); return ;;
    --chip) COMPREPLY=($(compgen -W "8051 8052 x2 1t stc8 stc15 stc12 n76e003
      ms51 efm8 c8051f ch552 ds80c320 ds89c4x0 at89lp xc886 all" -- "$cur"))
      return ;;
  esac

  # The command, if any, and how many plain words stand before this one.
  local command="" words=0 i word
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    case $word in
      --timer | --smod | --clock | --format | --tolerance | --baud | --chip | \
        --lang) ((i++)) ;;
      -*) ;;
      table | crystals | code | chips) [ -z "$command" ] && [ "$words" -eq 0 ] &&
        command=$word || ((words++)) ;;
      *) ((words++)) ;;
    esac
  done

  if [[ $cur == -* ]]; then
    local options="--timer --smod --clock --chip --tolerance --help --version"
    [ "$command" != code ] && options+=" --format"
    [ "$command" = code ] && options+=" --lang"
    [ "$command" = table ] && options+=" --baud"
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi
  case $command:$words in
    :0) COMPREPLY=($(compgen -W "table crystals code chips $crystals" -- "$cur")) ;;
    :1 | code:1 | crystals:*) COMPREPLY=($(compgen -W "$rates" -- "$cur")) ;;
    table:0 | code:0) COMPREPLY=($(compgen -W "$crystals" -- "$cur")) ;;
    *) COMPREPLY=() ;;
  esac
}
complete -F _baud51_cli baud51-cli
