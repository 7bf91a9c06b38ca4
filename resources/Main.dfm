object Form1: TForm1
  Left = 192
  Top = 114
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Конвертировать базы'
  ClientHeight = 143
  ClientWidth = 262
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object BitBtn1: TBitBtn
    Left = 8
    Top = 56
    Width = 245
    Height = 37
    Cursor = crHandPoint
    Caption = 'Выполнить'
    TabOrder = 0
    OnClick = BitBtn1Click
    Glyph.Resource = 'Check.bmp'
    NumGlyphs = 2
  end
  object Q: TQuery
    Left = 224
    Top = 8
  end
  object Label1: TLabel
    Left = 4
    Top = 4
    Width = 251
    Height = 39
    Alignment = taCenter
    Caption = 
      'Сконвертировать базы отбивок из VX 2.х или '#13#10'3.0.0.123 Beta 1.x в ' +
      'базы  Vorlangix 3 Beta 2.x '#13#10'или более позднюю версию.'
  end
  object Label2: TLabel
    Left = 36
    Top = 104
    Width = 185
    Height = 26
    Alignment = taCenter
    Caption = 'Программу необходимо разместить'#13#10'в папку с базами Vorlangix'
  end
end
