#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into corpus/<target>/: small
inputs that each reach a different part of the parser behind the target.
Inputs that fuzzing found are committed there as well; this script leaves
them alone."""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    directory = os.path.join(HERE, 'corpus', target)
    os.makedirs(directory, exist_ok=True)
    if isinstance(data, str):
        data = data.encode('latin-1')
    with open(os.path.join(directory, name), 'wb') as seed:
        seed.write(data)


def chunk(tag, body):
    return tag + struct.pack('<I', len(body)) + body + (b'\0' if len(body) % 2 else b'')


def wave(channels, rate, bits, frames, before_fmt=b''):
    align = channels * bits // 8
    if bits == 8:
        data = bytes(int(128 + 100 * math.sin(i / 5.0)) for i in range(frames * channels))
    else:
        data = b''.join(struct.pack('<h', int(20000 * math.sin(i / 5.0)))
                        for i in range(frames * channels))
    fmt = struct.pack('<HHIIHH', 1, channels, rate, rate * align, align, bits)
    body = (b'WAVE' + before_fmt + chunk(b'fmt ', fmt) + chunk(b'data', data) +
            chunk(b'LIST', b'INFOINAM' + struct.pack('<I', 4) + b'boom'))
    return b'RIFF' + struct.pack('<I', len(body)) + body


def wave_seeds():
    # Output formats: 0 mono 11025, 3 stereo 22050, 4 mono 44100.
    for selector in (0, 3, 4):
        for channels in (1, 2):
            for bits in (8, 16):
                for rate in (8000, 11025, 22050, 44100):
                    frames = 37 if (channels + rate) % 2 else 40
                    junk = chunk(b'JUNK', b'abc') if rate == 8000 else b''
                    name = f'out{selector}_{channels}ch_{bits}bit_{rate}.bin'
                    image = bytes([selector]) + wave(channels, rate, bits, frames, junk)
                    write('wave_open', name, image)
                    if bits == 8 or rate == 22050:
                        write('wave_file', name, image)


def png(width, height, color_type, rows, filters):
    channels = {2: 3, 6: 4}.get(color_type, 1)
    raw = b''.join(bytes([filters[y % len(filters)]]) + rows(y, width * channels)
                   for y in range(height))

    def png_chunk(tag, body):
        return (struct.pack('>I', len(body)) + tag + body +
                struct.pack('>I', zlib.crc32(tag + body) & 0xFFFFFFFF))
    header = struct.pack('>IIBBBBB', width, height, 8, color_type, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', header) +
            png_chunk(b'IDAT', zlib.compress(raw, 9)) + png_chunk(b'IEND', b''))


def png_seeds():
    gradient = lambda y, n: bytes((x * 7 + y * 13) & 0xFF for x in range(n))
    # The first byte: odd recomputes the chunk CRCs, even decodes as it is.
    write('png_decode', 'rgb_all_filters.bin', b'\1' + png(5, 5, 2, gradient, [0, 1, 2, 3, 4]))
    write('png_decode', 'rgba_paeth.bin', b'\0' + png(3, 4, 6, gradient, [4]))
    write('png_decode', 'rgb_one_pixel.bin', b'\0' + png(1, 1, 2, gradient, [0]))
    write('png_decode', 'gray_refused.bin', b'\1' + png(2, 2, 0, gradient, [0]))


def text_seeds(target, seeds):
    for name, text in seeds.items():
        write(target, name, text)


def argument_seeds(target, lines):
    for name, arguments in lines.items():
        write(target, name, '\0'.join(arguments))


def mixer_call_seeds():
    # Opcodes: 0 open, 1 close, 2 load, 3 free, 4 play, 5 flush, 6 activate,
    # 7 pump, 8 new session (see mixer_calls_fuzz.cpp). Channels are read as
    # operand % 11 - 1.
    ch = lambda c: c + 1
    seeds = {
        'play_and_pump': [0, 0, 1, 0, 1, 2, 1, 6, 1, 4, 0, ch(0), 0, 0, 7, 63, 7, 63, 3, 0],
        'all_flags': [3, 0, 4, 1, 2, 2, 2, 3, 6, 1, 4, 0, ch(0), 1, 0, 4, 1, ch(1), 2, 1,
                      4, 0, ch(2), 4, 2, 4, 1, ch(3), 8, 255, 7, 20, 4, 0, ch(3), 9, 0, 7, 40],
        'remix_while_queued': [0, 0, 1, 0, 1, 2, 3, 6, 1, 4, 0, ch(0), 0, 0, 7, 5,
                               4, 0, ch(0), 1, 0, 7, 10, 5, 2, ch(0), 7, 30],
        'free_while_playing': [0, 1, 0, 2, 4, 6, 1, 4, 0, ch(5), 0, 255, 7, 10, 3, 0, 7, 30],
        'deactivate_resume': [0, 0, 1, 0, 2, 3, 6, 1, 4, 0, ch(0), 0, 1, 7, 20, 6, 0, 7, 20,
                              6, 1, 7, 60, 1, 1, 0],
        'count_and_close': [0, 0, 2 | (5 << 2), 0, 2, 0, 6, 1, 4, 0, ch(4), 0, 0,
                            1, 0, ch(4), 7, 10, 1, 1, 0, 7, 10],
        'refusals': [0, 4, 0, 0, 3, ch(-1), 0, 0, ch(9), 0, 3, 0, 4, 0, ch(0), 0, 0, 6, 1,
                     4, 0, ch(0), 0, 0, 5, 0, ch(9)],
        'new_session': [0, 0, 1, 0, 2, 1, 6, 1, 4, 0, ch(0), 0, 0, 7, 8, 8, 5, 0, 1, 0, 2, 4,
                        6, 1, 4, 0, ch(0), 0, 0, 7, 50],
        'lru_channels': [0, 0, 1, 0, 2, 0, 6, 1, 4, 0, 0, 2, 0, 4, 0, 0, 2, 0, 4, 0, 0, 2, 0,
                         7, 30],
    }
    for name, program in seeds.items():
        write('mixer_calls', name + '.bin', bytes(program))


def main():
    wave_seeds()
    mixer_call_seeds()
    png_seeds()
    text_seeds('wavemix_ini', {
        'empty.ini': '',
        'defaults.ini': '[general]\nWaveOutDevice=0\n[default]\nRemix=2\nGoodWavePos=1\n'
                        'WaveBlocks=4\nWaveBlockLen=1024\nSamplesPerSec=22\n',
        'device.ini': '[Virtual Wave Out]\nRemix=1\nWaveBlocks=9\nWaveBlockLen=100\n'
                      'SamplesPerSec=44\nGoodWavePos=0\n',
        'mapper.ini': '[General]\nwaveoutdevice=5\n[DEFAULT]\nwaveblocks=1\n'
                      'waveblocklen=70000\nsamplespersec=16\n',
        'not_compatible.ini': '[not compatible]\nVirtual Wave Out=1\n',
        'odd_text.ini': '; comment\n[default]\n  WaveBlocks = "5"\nWaveBlockLen=-4096\n'
                        'Remix=\nSamplesPerSec=+22x\n[default]\nWaveBlocks=2\n',
    })
    text_seeds('sim_script', {
        'all_events.txt': '0 menu N1Playerstart1\n40 key 17 down\n80 key 17 up\n'
                          '120 joy 1 0 65535 3\n160 focus lost\n200 focus gained\n'
                          '240 name Ann Lee #1\n240 name\n250 name-cancel\n300 menu Exit1\n',
        'latin1_name.txt': '0 name Zo\xeb\n10 close\n',
        'bad_line.txt': '0 menu N1Playerstart1\n5 jump\n',
        'backwards.txt': '100 key 38 down\n50 key 38 up\n',
        'comments.txt': '# a replay\n\n0 menu N2Playerstart1 # two players\n2500 key 32 down\n',
    })
    # The first byte says where the script is cut in two.
    text_seeds('controller_script', {
        'all_events.txt': '\x80# a session\n0 button start down\n+40 button start up\n'
                          '100 axis leftx -32768\n+500 axis leftx 0 # centred\n'
                          '700 axis righttrigger 32767\n800 unplug\n\n900 plug\n'
                          '900 button dpdown down\r\n',
        'bad_name.txt': '\x10\n0 button A down\n',
        'bad_value.txt': '\xf0' + '0 axis lefty -32769\n',
        'backwards.txt': '\x40' + '500 plug\n+10 unplug\n400 plug\n',
        'no_newline.txt': '\x00' + '0 button guide down\n5 button guide up',
    })
    text_seeds('mix_script', {
        'all_commands.txt': '# every command\n0 open all\n0 load boom boom.wav\n'
                            '1 activate on\n2 play 0 boom clear high loops 2\n'
                            '3 play 1 boom lru wait loops 65535\n10 flush 0 noremix\n'
                            '11 flush all\n20 free boom\n30 activate off\n31 close all\n'
                            '40 end\n',
        'open_forms.txt': '0 open 3\n0 open count 5\n5 close 3\n',
        'unknown_wave.txt': '0 play 0 ghost\n',
        'after_end.txt': '0 end\n1 open all\n',
        'bad_numbers.txt': '0 load a a.wav\n-1 play x a\n5 play 0 a loops 70000\n',
    })
    argument_seeds('sim_command_line', {
        'every_option': ['--seed', '42', '--script', 'run.txt', '--autopilot', '--until',
                         '60000', '--trace', '-', '--snapshot', '1000:a.png', '--snapshot',
                         '2000:b.png', '--audio', 'out.wav'],
        'bad_snapshot': ['--snapshot', '1000:'],
        'missing_value': ['--seed'],
        'unknown': ['--fast'],
        'huge_seed': ['--seed', '18446744073709551616'],
        'dash_names': ['--autopilot', '--trace', '--', '-t.jsonl'],
        'option_after_dashes': ['--trace', '--', '-t.jsonl', '--until', '100'],
    })
    argument_seeds('mix_command_line', {
        'convert': ['convert', '--ini', 'WAVEMIX.INI', '--channels', '2', '--rate', '22',
                    'in.wav', 'out.raw'],
        'render': ['render', '--log', 'log.txt', '--rate', '44', 'script.txt', 'out.raw'],
        'convert_log': ['convert', '--log', 'log.txt', 'in.wav', 'out.raw'],
        'bad_rate': ['render', '--rate', '16', 'a', 'b'],
        'one_file': ['convert', 'in.wav'],
        'short_names': ['convert', '-', ''],
        'dash_names': ['render', '--log', '--', '-l.txt', '-s.txt', '--', '-o.raw'],
    })
    argument_seeds('kelvarok_command_line', {
        'game': [],
        'demo_all': ['--demo', '--seed', '7', '--frames', '300', '--screenshot', 'shot.png',
                     '--pause-at', '100', '--open-menu'],
        'demo_bad_number': ['--demo', '--frames', '-1'],
        'demo_missing_value': ['--demo', '--seed'],
        'unknown': ['--window'],
        'dash_names': ['--demo', '--screenshot', '--', '-x.png', '--seed', '1'],
        'replay_dash_name': ['--replay', '--', '--help'],
        'virtual_controller': ['--demo', '--frames', '5', '--virtual-controller', 'pad.txt'],
        'virtual_controller_replay': ['--virtual-controller', 'pad.txt', '--replay', 'x.kvr'],
        'virtual_controller_dash': ['--virtual-controller', '--', '-pad.txt'],
    })
    keys = ('[General]\nFormWidth=800\nFormHeight=600\nFormMaximized=0\nPhaserSounds=1\n'
            'CrashSounds=0\nThrustSounds=1\nHyperSpaceSounds=1\nBonusSounds=1\n'
            'SoundVolume=70\nJoystick1=1\nJoystick2=0\nFireKey=17\nThrustKey=38\n'
            'LeftKey=37\nRightKey=39\nHyperSpaceKey=32\n')
    table = ''.join(f'Score{i}={1000 - i * 90}\nRound{i}={11 - i}\nName{i}=Player {i}\n'
                    for i in range(1, 11))
    text_seeds('settings_load', {
        'empty.conf': '',
        'full.conf': keys + table,
        'odd_values.conf': '[General]\nFormWidth=-5\nFormMaximized=2\nSoundVolume=loud\n'
                           'FireKey=65553\nJoyStick1=2\njoystick1=1\n'
                           'Name1=abcdefghijklmnopqrstuvwxy\nName2=\\xe9t\\xe9\n',
        'not_strings.conf': '[General]\nName1=a, b\nScore1=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n'
                            'Name2="quoted; text"\nName3=@@at\n',
        'other_section.conf': '[Kelvarok]\nFormWidth=900\n[General]\nFormHeight=700\n'
                              'Round10=99999999999\n',
    })

    text_seeds('replay_links', {
        'empty.txt': '',
        'links.txt': '5\t2\t1.kvr\tAnn\n7\t1\t2.kvr\tBob\n0\t0\t3.kvr\t\n',
        'tabs_and_latin1.txt': '-3\t4\t2.kvr\tTab\tName\n2147483647\t99\t1.kvr\tZo\xeb\n',
        'gone_and_foreign.txt': '5\t2\t9.kvr\tAnn\n5\t2\t../1.kvr\tAnn\n5\t2\t+1.kvr\tAnn\n'
                                '7\t1\t1.kvr\tnot in the table\n',
        'odd_lines.txt': '5x\t2\t1.kvr\tAnn\n4294967301\t2\t1.kvr\tAnn\n\t2\t1.kvr\tAnn\n'
                         '5\t2\t1.kvr\nno tabs at all\r\n5\t2\t1.kvr\tabcdefghijklmnopqrstu\n',
        'duplicates.txt': '5\t2\t1.kvr\tAnn\n5\t2\t1.kvr\tAnn\n5\t2\t2.kvr\tAnn\n',
    })
    text_seeds('raise_request', {
        'plain.txt': 'raise\n',
        'token.txt': 'raise kwin-1234_TIME5\n',
        'two_words.txt': 'raise two words\n',
        'long_token.txt': 'raise ' + 'x' * 600 + '\n',
        'latin1.txt': 'raise caf\xe9\n',
        'no_line_end.txt': 'raise startup-id',
        'other_word.txt': '  hello   token  \n\nraise second\n',
    })


main()
